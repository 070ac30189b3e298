#include "device/ReportTables.h"

namespace xk {

namespace {

constexpr std::array<uint8_t, 4> kLedCode = {0, 3, 6, 7};

} // namespace

uint8_t DpiStepCodeOf(uint8_t dpiValue) {
    const size_t step = dpiValue < kDpiStepCode.size() ? dpiValue : kDpiStepCode.size() - 1;
    return kDpiStepCode[step];
}

uint8_t AppliedLedModeOf(uint8_t ledMode) {
    return ledMode < kLedCode.size() ? ledMode : 0;
}

uint8_t LedCodeOf(uint8_t ledMode) {
    return kLedCode[AppliedLedModeOf(ledMode)];
}

int DesktopPointerSpeedOf(uint8_t pointerSpeed) {
    if (pointerSpeed == 0) {
        return 1;
    }
    if (pointerSpeed <= 8) {
        return 2 * pointerSpeed;
    }
    return 18;
}

} // namespace xk
