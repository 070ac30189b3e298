#pragma once

#include "settings/Settings.h"

namespace xk {

// Rules across the fields that every configuration made by the window's clicks keeps.

// Some button is the left button (function code 1).
bool KeepsLeftButton(const Configuration& config);
// Some DPI level takes part in DPI switching.
bool SomeDpiLevelEnabled(const Configuration& config);

} // namespace xk
