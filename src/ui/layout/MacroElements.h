#pragma once

#include <cstdint>

namespace xk {

// Rows of the macro (advanced) layout's BUTTONPOS section.
namespace macro_element {

inline constexpr int32_t kImportButton = 0;
inline constexpr int32_t kExportButton = 1;
inline constexpr int32_t kNewButton = 2;
inline constexpr int32_t kDeleteButton = 3;
inline constexpr int32_t kRecordButton = 4; // its caption is "Record" or "Stop"
inline constexpr int32_t kSaveButton = 5;
inline constexpr int32_t kRepeatButton = 6;
inline constexpr int32_t kMacroModeButton = 7;
inline constexpr int32_t kFirstPointerSpeedStep = 8; // steps 0..9: rows 8..17
inline constexpr int32_t kFirstWheelSpeedStep = 18;  // steps 0..9: rows 18..27
inline constexpr int32_t kFireTimeBar = 30;
inline constexpr int32_t kFireTimeUp = 31;
inline constexpr int32_t kFireTimeDown = 32;
inline constexpr int32_t kFireTimeText = 33; // "50ms"
// The last row the pointer test looks at.
inline constexpr int32_t kLastHitElement = 37;
inline constexpr int32_t kPressCountText = 43;   // "[↓]n"
inline constexpr int32_t kReleaseCountText = 44; // "[↑]n"

// The macro page's texts: the common rows 0..19, then macro rows 0..kMacroPageTexts - 21.
inline constexpr int32_t kMacroPageTexts = 72;

} // namespace macro_element

} // namespace xk
