#pragma once

#include "settings/Settings.h"

#include <cstdint>

namespace xk {

// Main element of button slot 0; button b is element kFirstButtonSlot + b.
inline constexpr int32_t kFirstButtonSlot = 25;

// Whether the button of slot element `slot` is the only left button: no other button holds
// code 1 (when none does at all, it counts as the only one too).
bool IsOnlyLeftButton(const Settings& settings, int32_t slot);

// Gives the button of `selectedButton` the function code, then keeps a left button: when no
// button holds code 1 any more, the next button becomes the left button, or for the last
// button the choice is undone. A `selectedButton` outside the slots changes nothing.
void AssignFunction(Settings& settings, int32_t code);

} // namespace xk
