#pragma once

#include <cstdint>

namespace xk {

inline constexpr uint16_t kMouseVendorId = 0x18F8;
inline constexpr uint16_t kMouseProductId = 0x1286;

// The interface that sends input report 6 and the one that takes feature report 7.
inline constexpr uint16_t kInputUsagePage = 0xFF00;
inline constexpr uint16_t kFeatureUsagePage = 0xFF01;
inline constexpr uint16_t kVendorUsage = 1;

inline constexpr uint8_t kInputReportId = 6;
inline constexpr uint8_t kFeatureReportId = 7;

// Input report 6: byte 1 is 0xF0 + the button's number, byte 2 is 0x80 for a release.
inline constexpr uint8_t kButtonEventBase = 0xF0;
inline constexpr uint8_t kReleaseData = 0x80;

inline constexpr int kScanIndexCount = 100;

} // namespace xk
