#pragma once

#include "settings/FunctionAssignment.h"

#include <cstdint>

namespace xk {

// Rows of the main layout's BUTTONPOS section. Rows 0..19 are the common elements, drawn and
// hit-tested on every page; the others belong to the main page.
namespace main_element {

inline constexpr int32_t kSaveButton = 0; // press, main page only
inline constexpr int32_t kHideButton = 2; // release: keeps the DPI level, hides to the tray
inline constexpr int32_t kApplyButton = 3;
inline constexpr int32_t kFirstConfigButton = 4; // configurations 1..5: rows 4..8
inline constexpr int32_t kLastConfigButton = 8;
inline constexpr int32_t kMainTab = 9; // the tab of page p is kMainTab + p
inline constexpr int32_t kMacroTab = 10;
inline constexpr int32_t kLightTab = 11;
inline constexpr int32_t kMinimiseButton = 12;
inline constexpr int32_t kCloseButton = 13;
inline constexpr int32_t kImportProfileButton = 14;
inline constexpr int32_t kExportProfileButton = 15;
inline constexpr int32_t kFactoryResetButton = 16;
inline constexpr int32_t kChineseButton = 17;
inline constexpr int32_t kEnglishButton = 18;
inline constexpr int32_t kLastCommonElement = 19;

// Button slots 1..8 (rows 25..32): button b is kFirstButtonSlot + b.
inline constexpr int32_t kLastButtonSlot = kFirstButtonSlot + 7;
inline constexpr int32_t kWheelOffButton = 41;
inline constexpr int32_t kWheelOnButton = 42;
inline constexpr int32_t kFirstDpiEnableSwitch = 46; // DPI level i: kFirstDpiEnableSwitch + i
inline constexpr int32_t kFirstDpiLevelButton = 54;
// Four bars of twelve segments: level i, step s is kDpiBarFirst + 12 * i + s.
inline constexpr int32_t kDpiBarFirst = 66;
inline constexpr int32_t kDpiBarLast = 113;
// The last row the pointer test looks at on the main page.
inline constexpr int32_t kLastHitElement = 114;
// The second highlight of button slot k is row k + kSecondHighlightOffset (115..122).
inline constexpr int32_t kSecondHighlightOffset = 90;

// Rows 0..kMainPageTexts - 1 carry the main page's texts.
inline constexpr int32_t kMainPageTexts = 54;

} // namespace main_element

} // namespace xk
