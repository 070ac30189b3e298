#include "settings/FunctionCode.h"

#include <array>

namespace xk {

DeviceFunction DeviceFunctionOf(int32_t code) {
    switch (code) {
    case 6:
        return {6, true, false};
    case 15:
        return {11, true, false};
    case 16:
        return {12, true, false};
    case 14:
        return {10, false, true};
    default:
        break;
    }
    if (code >= 0 && code <= 5) {
        return {static_cast<uint8_t>(code), false, false};
    }
    if (code >= 11 && code <= 17) {
        return {static_cast<uint8_t>(code - 4), false, false};
    }
    return {};
}

PcAction PcActionOf(int32_t code) {
    if (code == 6 || code == 15 || code == 16) {
        return PcAction::FollowDpi;
    }
    if (code == 14) {
        return PcAction::StepReportRate;
    }
    if (code >= kFirstConsumerCode && code <= kLastConsumerCode) {
        return PcAction::ConsumerKey;
    }
    if (code >= kFirstConstMacroCode && code <= kLastConstMacroCode) {
        return PcAction::ConstMacro;
    }
    if (code == kCalculatorCode) {
        return PcAction::Calculator;
    }
    if (code == kTerminalCode) {
        return PcAction::Terminal;
    }
    if (code >= kFirstUserMacroCode && code <= kLastUserMacroCode) {
        return PcAction::UserMacro;
    }
    return PcAction::None;
}

std::optional<uint16_t> ConsumerUsageOf(int32_t code) {
    static constexpr std::array<uint16_t, 10> kUsages = {0x0223, 0x0183, 0x018A, 0x00E9, 0x00EA,
                                                         0x00B6, 0x00B5, 0x00E2, 0x00CD, 0x0192};
    if (code < kFirstConsumerCode || code > kLastConsumerCode) {
        return std::nullopt;
    }
    return kUsages[static_cast<size_t>(code - kFirstConsumerCode)];
}

bool OfferedInPopups(int32_t code) {
    return (code >= 1 && code <= 6) || (code >= 11 && code <= 16) ||
           (code >= kFirstConsumerCode && code <= kLastConstMacroCode) ||
           (code >= kFirstUserMacroCode && code <= kLastUserMacroCode);
}

} // namespace xk
