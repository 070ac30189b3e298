#pragma once

#include <string_view>

namespace xk {

// File names of the skin pictures, all JPEG, in the skins directory.
namespace skin_pictures {

// Main window outline: dark pixels are the window. Its size is the window's paint size.
inline constexpr std::string_view kMainMask = "main_mask.jpg";

// Page sets: normal (background), over (highlighted), down (pressed), all of the mask's size.
inline constexpr std::string_view kMainNormal = "main_normal.jpg";
inline constexpr std::string_view kMainOver = "main_over.jpg";
inline constexpr std::string_view kMainDown = "main_down.jpg";
inline constexpr std::string_view kAdvancedNormal = "advanced_normal.jpg";
inline constexpr std::string_view kAdvancedOver = "advanced_over.jpg";
inline constexpr std::string_view kAdvancedDown = "advanced_down.jpg";
inline constexpr std::string_view kColorNormal = "color_normal_pink.jpg";
inline constexpr std::string_view kColorOver = "color_over_red.jpg";
inline constexpr std::string_view kColorDown = "color_down_purple.jpg";

// Light page LED preview: the normal picture with the preview area blue or unlit.
inline constexpr std::string_view kColorBlue = "color_over_blue.jpg";
inline constexpr std::string_view kColorGray = "color_normal_gray.jpg";

// Function popup (ten rows) and sub-popup (twelve rows); their masks give only the size.
inline constexpr std::string_view kMenuMask = "menu_mask.jpg";
inline constexpr std::string_view kMenuNormal = "menu_normal.jpg";
inline constexpr std::string_view kMenuOver = "menu_over.jpg";
inline constexpr std::string_view kMenuDown = "menu_down.jpg";
inline constexpr std::string_view kSubMenuMask = "advanced menu_mask.jpg";
inline constexpr std::string_view kSubMenuNormal = "advanced menu_normal.jpg";
inline constexpr std::string_view kSubMenuOver = "advanced menu_over.jpg";
inline constexpr std::string_view kSubMenuDown = "advanced menu_down.jpg";

// Warning dialog: outline, face, highlighted buttons.
inline constexpr std::string_view kWarningMask = "warning_mask.jpg";
inline constexpr std::string_view kWarningNormal = "warning_normal.jpg";
inline constexpr std::string_view kWarningOver = "warning_over.jpg";

} // namespace skin_pictures

} // namespace xk
