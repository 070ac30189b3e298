#include "macro/MacroSlot.h"

#include <gtest/gtest.h>

#include <cstring>

namespace xk {
namespace {

TEST(MacroSlot, FieldsSitAtTheirByteOffsets) {
    MacroSlot slot{};
    slot.SetName(u"ab");
    slot.SetRepeatCount(0x1234);
    slot.events[2] = {4, kActionRelease};
    slot.SetDelay(254, 0xBEEF);
    uint8_t bytes[sizeof(MacroSlot)];
    std::memcpy(bytes, &slot, sizeof bytes);
    EXPECT_EQ(bytes[0], 'a');
    EXPECT_EQ(bytes[2], 'b');
    EXPECT_EQ(bytes[41], 0x34);
    EXPECT_EQ(bytes[42], 0x12);
    EXPECT_EQ(bytes[44 + 4], 4);
    EXPECT_EQ(bytes[45 + 4], kActionRelease);
    EXPECT_EQ(bytes[554 + 508], 0xEF);
    EXPECT_EQ(bytes[554 + 509], 0xBE);
    EXPECT_EQ(slot.Name(), u"ab");
}

TEST(MacroSlot, NameKeepsNineteenUnitsAndItsNul) {
    MacroSlot slot{};
    slot.name.fill(0xFF);
    slot.SetName(u"abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(slot.Name(), u"abcdefghijklmnopqrs");
    EXPECT_EQ(slot.name[38], 0);
    EXPECT_EQ(slot.name[39], 0);
}

} // namespace
} // namespace xk
