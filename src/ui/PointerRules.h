#pragma once

#include "device/MouseProtocol.h" // DpiDisplayValue
#include "settings/Settings.h"

#include <cstdint>

namespace xk {

// The enable switch of DPI level i (0..3): at least one level stays enabled and the current
// level is always an enabled one.
void ToggleDpiEnabled(Settings& settings, int32_t level);

// The fire time for a press at x on a bar at barX with width barWidth: 0 left of the bar,
// 300 right of it. A bar without width gives 0.
int32_t FireTimeFromX(int32_t x, int32_t barX, int32_t barWidth);

// The fire time one step up (at most 300) or down (at least 0).
int32_t StepFireTime(int32_t fireTime, int32_t step);

} // namespace xk
