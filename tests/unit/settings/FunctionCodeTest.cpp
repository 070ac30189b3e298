#include "settings/FunctionCode.h"

#include <gtest/gtest.h>

namespace xk {
namespace {

TEST(FunctionCode, DeviceCodesAndFollowFlags) {
    for (int32_t code = -3; code <= 60; ++code) {
        const DeviceFunction f = DeviceFunctionOf(code);
        uint8_t expected = 0;
        if (code >= 0 && code <= 6) {
            expected = static_cast<uint8_t>(code);
        } else if (code >= 11 && code <= 17) {
            expected = static_cast<uint8_t>(code - 4);
        }
        EXPECT_EQ(f.deviceCode, expected) << code;
        EXPECT_EQ(f.dpiFollow, code == 6 || code == 15 || code == 16) << code;
        EXPECT_EQ(f.rateFollow, code == 14) << code;
    }
}

TEST(FunctionCode, ComputerSideActions) {
    struct Case {
        int32_t code;
        PcAction action;
    };
    const Case cases[] = {
        {0, PcAction::None},         {1, PcAction::None},
        {6, PcAction::FollowDpi},    {14, PcAction::StepReportRate},
        {15, PcAction::FollowDpi},   {17, PcAction::None},
        {21, PcAction::ConsumerKey}, {30, PcAction::ConsumerKey},
        {31, PcAction::ConstMacro},  {38, PcAction::ConstMacro},
        {39, PcAction::Calculator},  {40, PcAction::Terminal},
        {41, PcAction::UserMacro},   {52, PcAction::UserMacro},
        {53, PcAction::None},        {-1, PcAction::None},
        {1000, PcAction::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PcActionOf(c.code), c.action) << c.code;
    }
    EXPECT_EQ(ConsumerUsageOf(21), 0x0223);
    EXPECT_EQ(ConsumerUsageOf(30), 0x0192);
    EXPECT_FALSE(ConsumerUsageOf(20).has_value());
    EXPECT_FALSE(ConsumerUsageOf(31).has_value());
}

TEST(FunctionCode, OfferedInPopups) {
    for (int32_t code = 0; code <= 54; ++code) {
        const bool offered = (code >= 1 && code <= 6) || (code >= 11 && code <= 16) ||
                             (code >= 21 && code <= 38) || (code >= 41 && code <= 52);
        EXPECT_EQ(OfferedInPopups(code), offered) << code;
    }
}

} // namespace
} // namespace xk
