#include "ui/PointerRules.h"

#include <algorithm>

namespace xk {

void ToggleDpiEnabled(Settings& settings, int32_t level) {
    if (level < 0 || level >= kDpiLevelCount) {
        return;
    }
    auto& enabled = settings.dpiEnabled;
    const auto i = static_cast<size_t>(level);
    if (enabled[i] == 0) {
        enabled[i] = 1;
        return;
    }
    enabled[i] = 0;
    if (settings.dpiLevel.load() != level) {
        return;
    }
    for (int32_t step = 1; step < kDpiLevelCount; ++step) {
        const int32_t j = (level + step) % kDpiLevelCount;
        if (enabled[static_cast<size_t>(j)] == 1) {
            settings.dpiLevel.store(j);
            return;
        }
    }
    enabled[i] = 1;
}

int32_t FireTimeFromX(int32_t x, int32_t barX, int32_t barWidth) {
    if (barWidth <= 0) {
        return 0;
    }
    const int64_t value = (int64_t{x} - barX) * kFireTimeMax / barWidth;
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, kFireTimeMax));
}

int32_t StepFireTime(int32_t fireTime, int32_t step) {
    const int64_t value = int64_t{fireTime} + step;
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, kFireTimeMax));
}

} // namespace xk
