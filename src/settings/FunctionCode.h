#pragma once

#include <cstdint>
#include <optional>

namespace xk {

// Function codes: what one button does (the value of a buttonFunction entry).
inline constexpr int32_t kFunctionCodeCount = 55; // 0..54
inline constexpr int32_t kLeftButtonCode = 1;
inline constexpr int32_t kFirstConsumerCode = 21;
inline constexpr int32_t kLastConsumerCode = 30;
inline constexpr int32_t kFirstConstMacroCode = 31;
inline constexpr int32_t kLastConstMacroCode = 38;
inline constexpr int32_t kCalculatorCode = 39;
inline constexpr int32_t kTerminalCode = 40;
inline constexpr int32_t kFirstUserMacroCode = 41;
inline constexpr int32_t kLastUserMacroCode = 52;

// What the computer does when the mouse reports a button with this code.
enum class PcAction {
    None,
    FollowDpi,      // 6, 15, 16: the mouse switches DPI, the program follows
    StepReportRate, // 14
    ConsumerKey,    // 21..30
    ConstMacro,     // 31..38
    Calculator,     // 39
    Terminal,       // 40
    UserMacro,      // 41..52
};

struct DeviceFunction {
    uint8_t deviceCode = 0;
    bool dpiFollow = false;
    bool rateFollow = false;
};

// The device code sent for a button's function code and the following flags it sets.
DeviceFunction DeviceFunctionOf(int32_t functionCode);

PcAction PcActionOf(int32_t functionCode);

// The HID Consumer page usage of codes 21..30; nothing for other codes.
std::optional<uint16_t> ConsumerUsageOf(int32_t functionCode);

// Whether the function popups offer this code (user macros only while the slot exists).
bool OfferedInPopups(int32_t functionCode);

} // namespace xk
