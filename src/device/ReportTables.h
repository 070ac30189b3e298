#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace xk {

// Commands of feature report 7 (byte 1).
enum class Command : uint8_t {
    DpiLevel = 0x09,
    ButtonFunction = 0x10,
    WheelStatus = 0x11,
    FireTime = 0x12,
    LedMode = 0x13,
    KeyboardKeys = 0x15,
    MouseButtons = 0x16,
    ConsumerKey = 0x17,
    Exit = 0x20,
};

inline constexpr size_t kReportBufferSize = 256;

// The mouse's own number of each configurable button; input report 6 uses the same numbers.
inline constexpr std::array<uint8_t, 8> kDeviceButtonNumber = {1, 2, 3, 5, 4, 6, 8, 9};

// The device code of each DPI step that dpiValue selects.
inline constexpr std::array<uint8_t, 12> kDpiStepCode = {1, 2, 3, 4, 5, 6, 7, 9, 11, 13, 14, 15};

// The device code of dpiValue; a value beyond the table gets the highest step.
uint8_t DpiStepCodeOf(uint8_t dpiValue);

// The LED code of ledMode (0 -> 0, 1 -> 3, 2 -> 6, 3 -> 7); a mode beyond the table is sent
// and applied as mode 0.
uint8_t AppliedLedModeOf(uint8_t ledMode);
uint8_t LedCodeOf(uint8_t ledMode);

// The desktop pointer speed (1..20) of pointerSpeed: 0 -> 1, n -> 2n up to 8, above -> 18.
int DesktopPointerSpeedOf(uint8_t pointerSpeed);

} // namespace xk
