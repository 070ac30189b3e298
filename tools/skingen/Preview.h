#pragma once

#include <filesystem>

namespace xk::skingen {

// Writes PNG previews of the three pages, the popups and the warning dialog in both languages,
// composed from the delivered files in binDir the way the program paints them.
void WritePreviews(const std::filesystem::path& binDir, const std::filesystem::path& previewDir);

} // namespace xk::skingen
