#pragma once

#include <filesystem>

namespace xk::skingen {

// Writes config.ini from data/config/presets.ini: [Init], the user configurations and the
// factory sections, each section with the keys in the order a save writes them.
void WriteConfigIni(const std::filesystem::path& presets, const std::filesystem::path& out);

} // namespace xk::skingen
