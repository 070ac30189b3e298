#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace xk {

// The XK-R40's protocol in one place: how it is found, its two reports and what their bytes
// mean. The encoder (FeatureReports, UploadSettings), the listener and executor, discovery,
// the virtual mouse, the window's DPI text and the skin preview all read it from here.

// --- Identity: vendor and product, and the two vendor interfaces.
inline constexpr uint16_t kMouseVendorId = 0x18F8;
inline constexpr uint16_t kMouseProductId = 0x1286;
// The interface that sends input report 6 and the one that takes feature report 7.
inline constexpr uint16_t kInputUsagePage = 0xFF00;
inline constexpr uint16_t kFeatureUsagePage = 0xFF01;
inline constexpr uint16_t kVendorUsage = 1;
// Interface indices tried on each scan.
inline constexpr int kScanIndexCount = 100;

// --- Input report 6 (mouse to computer): byte 1 is kButtonEventBase + the button's number
// for a button the computer carries out (anything up to the base is not a button), byte 2 is
// kReleaseData for a release and anything else for a press (or the new DPI level).
inline constexpr uint8_t kInputReportId = 6;
inline constexpr uint8_t kButtonEventBase = 0xF0;
inline constexpr uint8_t kReleaseData = 0x80;

// --- Feature report 7 (computer to mouse): byte 1 is the command, the rest its values.
inline constexpr uint8_t kFeatureReportId = 7;
enum class Command : uint8_t {
    DpiLevel = 0x09,
    ButtonFunction = 0x10, // button number, device code
    WheelStatus = 0x11,
    FireTime = 0x12, // time / 8, big-endian
    LedMode = 0x13,
    KeyboardKeys = 0x15, // six held HID key usages
    MouseButtons = 0x16, // button bits, a cleared bit is pressed
    ConsumerKey = 0x17,  // Consumer page usage, big-endian
    Exit = 0x20,
};
inline constexpr size_t kReportBufferSize = 256;

// The mouse's own number of each configurable button 0..7; input report 6 uses them too.
inline constexpr std::array<uint8_t, 8> kDeviceButtonNumber = {1, 2, 3, 5, 4, 6, 8, 9};

// --- DPI: the twelve steps a level can take (dpiValue 0..11), their device codes and what
// the window shows for them.
struct DpiStep {
    uint8_t deviceCode;
    int32_t dpi;
};
inline constexpr std::array<DpiStep, 12> kDpiSteps{{
    {1, 200},
    {2, 400},
    {3, 600},
    {4, 800},
    {5, 1000},
    {6, 1200},
    {7, 1600},
    {9, 2000},
    {11, 2400},
    {13, 3200},
    {14, 4000},
    {15, 4800},
}};

// The device code of dpiValue; a value beyond the table gets the highest step.
constexpr uint8_t DpiStepCodeOf(uint8_t dpiValue) {
    return kDpiSteps[dpiValue < kDpiSteps.size() ? dpiValue : kDpiSteps.size() - 1].deviceCode;
}

// The DPI shown for a device code; a code the table does not hold shows the lowest step.
constexpr int32_t DpiDisplayValue(int32_t deviceCode) {
    for (const DpiStep& step : kDpiSteps) {
        if (step.deviceCode == deviceCode) {
            return step.dpi;
        }
    }
    return kDpiSteps.front().dpi;
}

// --- Light: the LED code of each light mode 0..3. A mode beyond the table is sent and applied
// as mode 0.
inline constexpr std::array<uint8_t, 4> kLedCode = {0, 3, 6, 7};
constexpr uint8_t AppliedLedModeOf(uint8_t ledMode) {
    return ledMode < kLedCode.size() ? ledMode : 0;
}
constexpr uint8_t LedCodeOf(uint8_t ledMode) {
    return kLedCode[AppliedLedModeOf(ledMode)];
}

} // namespace xk
