#pragma once

#include <filesystem>

namespace xk::skingen {

// Writes the application icon into an icon theme folder (hicolor) at the usual sizes, as
// SIZExSIZE/apps/xk-r40.png.
void WriteThemeIcons(const std::filesystem::path& themeDir);

} // namespace xk::skingen
