#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace xk {

// The four layout files of a language.
enum class LayoutKind { Main, Light, Advanced, Warning };

// "INI_EN" when `language` is non-zero (English), "INI_CN" otherwise.
std::string_view LayoutFolderName(int32_t language);
// The file name of a layout in its language's folder, for example "skin_main_en.ini".
std::string_view LayoutFileName(LayoutKind kind, int32_t language);
// skinsDir / folder / file name.
std::filesystem::path LayoutPath(const std::filesystem::path& skinsDir, LayoutKind kind,
                                 int32_t language);

} // namespace xk
