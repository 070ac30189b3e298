#pragma once

#include <cstdint>

namespace xk {

// Rows of the light (color) layout's BUTTONPOS section.
namespace light_element {

inline constexpr int32_t kFirstLedModeButton = 0; // light modes 0..3: rows 0..3
// The last row the pointer test looks at (row 4 is free but still hit-tested).
inline constexpr int32_t kLastHitElement = 4;
inline constexpr int32_t kDpiValueText = 9;
inline constexpr int32_t kLedPreviewArea = 11;

// The light page's texts: the common rows 0..19, then light rows 0..kLightPageTexts - 21.
inline constexpr int32_t kLightPageTexts = 33;

} // namespace light_element

} // namespace xk
