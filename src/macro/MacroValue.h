#pragma once

#include "macro/MacroSlot.h"

#include <string>
#include <string_view>

namespace xk {

// One macro as a macro file stores it: 1064 byte values of three decimal digits each
// (3192 characters): the name bytes, the four header bytes, then per event the virtual-key
// code, the action and the delay's low and high byte.
inline constexpr size_t kMacroValueLength = 3 * sizeof(MacroSlot);

// The value of a slot; all 255 events are written, used or not.
std::string EncodeMacroValue(const MacroSlot& slot);
// The slot a value describes. Groups missing from a short value read as 0, a group without
// digits as 0, and a group above 255 keeps its low 8 bits; key codes come back as HID usages.
MacroSlot DecodeMacroValue(std::string_view value);

} // namespace xk
