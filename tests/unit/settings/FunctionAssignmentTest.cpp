#include "settings/FunctionAssignment.h"

#include <gtest/gtest.h>

#include <array>

namespace xk {
namespace {

using Buttons = std::array<int32_t, kButtonCount>;

Buttons Functions(const Settings& s) {
    Buttons out{};
    for (size_t b = 0; b < out.size(); ++b) {
        out[b] = s.buttonFunction[b].load();
    }
    return out;
}

void SetFunctions(Settings& s, const Buttons& codes) {
    for (size_t b = 0; b < codes.size(); ++b) {
        s.buttonFunction[b].store(codes[b]);
    }
}

TEST(AssignFunction, AMouseAlwaysKeepsALeftButton) {
    struct Case {
        const char* what;
        Buttons before;
        int32_t button;
        int32_t code;
        Buttons after;
    };
    const Case cases[] = {
        {"another left button remains",
         {1, 2, 3, 5, 4, 1, 15, 13},
         0,
         3,
         {3, 2, 3, 5, 4, 1, 15, 13}},
        {"the only left button on 0 passes to 1",
         {1, 2, 3, 5, 4, 16, 15, 13},
         0,
         3,
         {3, 1, 3, 5, 4, 16, 15, 13}},
        {"the only left button on 7 stays",
         {2, 2, 3, 5, 4, 16, 15, 1},
         7,
         3,
         {2, 2, 3, 5, 4, 16, 15, 1}},
        {"a left button given where none was",
         {2, 2, 3, 5, 4, 16, 15, 13},
         3,
         1,
         {2, 2, 3, 1, 4, 16, 15, 13}},
        {"a user macro", {1, 2, 3, 5, 4, 16, 15, 13}, 4, 41, {1, 2, 3, 5, 41, 16, 15, 13}},
    };
    for (const Case& c : cases) {
        Settings s;
        SetFunctions(s, c.before);
        s.selectedButton = kFirstButtonSlot + c.button;
        AssignFunction(s, c.code);
        EXPECT_EQ(Functions(s), c.after) << c.what;
    }
}

TEST(AssignFunction, ASelectedButtonOutsideTheSlotsChangesNothing) {
    const Buttons before{1, 2, 3, 5, 4, 16, 15, 13};
    for (const int32_t selected : {0, 24, 33, 255}) {
        Settings s;
        SetFunctions(s, before);
        s.selectedButton = selected;
        AssignFunction(s, 7);
        EXPECT_EQ(Functions(s), before) << selected;
    }
}

TEST(IsOnlyLeftButton, CountsTheOtherButtons) {
    Settings s;
    SetFunctions(s, {1, 2, 3, 5, 4, 16, 15, 13});
    EXPECT_TRUE(IsOnlyLeftButton(s, kFirstButtonSlot));
    EXPECT_FALSE(IsOnlyLeftButton(s, kFirstButtonSlot + 1));
    s.buttonFunction[6].store(1);
    EXPECT_FALSE(IsOnlyLeftButton(s, kFirstButtonSlot));
    SetFunctions(s, {2, 2, 3, 5, 4, 16, 15, 13});
    EXPECT_TRUE(IsOnlyLeftButton(s, kFirstButtonSlot + 3)) << "no left button at all";
}

} // namespace
} // namespace xk
