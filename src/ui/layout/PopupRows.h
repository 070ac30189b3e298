#pragma once

#include <cstdint>
#include <optional>

namespace xk {

// The function popup shows ten rows (function codes 1..10 by name); its pointer test knows
// twelve, so its last pixel line belongs to row 11. The sub-popup's mask holds twelve rows.
inline constexpr int32_t kPopupRows = 10;
inline constexpr int32_t kPopupHitRows = 12;
inline constexpr int32_t kSubPopupMaskRows = 12;
// Rows 1..6 assign their code directly; rows 7..10 open a group in the sub-popup.
inline constexpr int32_t kLastDirectRow = 6;
inline constexpr int32_t kDeviceGroupRow = 7;
inline constexpr int32_t kMediaGroupRow = 8;
inline constexpr int32_t kUserMacroGroupRow = 9;
inline constexpr int32_t kBuiltInGroupRow = 10;

bool IsGroupRow(int32_t popupRow);

// Rows the sub-popup shows for a group row (device 6, media 10, the user macros, built-in 8);
// any other row keeps `previous`.
int32_t SubPopupRowsFor(int32_t popupRow, int32_t userMacroCount, int32_t previous);

// Sub-row d of a group assigns base + d: 10, 20, 40 (user macros) and 30 (built-in).
std::optional<int32_t> SubPopupCodeBase(int32_t popupRow);

// How far below the popup's top the sub-popup opens, in popup rows, so that its last row lines
// up with the group row: 1, -2, 9 - userMacroCount and 2.
int32_t SubPopupOffsetRows(int32_t popupRow, int32_t userMacroCount);

// The first row 1..rows whose band (0, (i - 1) * rowHeight)-(width, i * rowHeight) holds the
// point, or kNoElement.
int32_t RowAt(int32_t x, int32_t y, int32_t width, int32_t rowHeight, int32_t rows);

} // namespace xk
