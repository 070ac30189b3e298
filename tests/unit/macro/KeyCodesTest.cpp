#include "macro/KeyCodes.h"

#include <gtest/gtest.h>

namespace xk {
namespace {

// Key codes without a row, from the key table.
bool HasNoRow(int k) {
    return k <= 3 || k == 53 || k == 88 || k == 100 || k == 102 || k == 103 ||
           (k >= 120 && k <= 155) || k == 157 || k == 158 || (k >= 160 && k <= 223) ||
           (k >= 232 && k <= 239) || k >= 243;
}

TEST(KeyCodes, TranslationsOfEveryRowRoundTrip) {
    int rows = 0;
    for (int v = 0; v < 256; ++v) {
        const uint8_t key = KeyFromVirtualKey(static_cast<uint8_t>(v));
        EXPECT_EQ(KeyFromVirtualKey(VirtualKeyFromKey(key)), key) << "virtual key " << v;
        if (key != v || v >= 240) {
            ++rows;
            EXPECT_EQ(VirtualKeyFromKey(key), v) << "virtual key " << v;
        }
    }
    // 123 rows of the key table name a virtual-key code; a few map a code onto itself.
    EXPECT_GE(rows, 120);
}

TEST(KeyCodes, TableRows) {
    struct Case {
        uint8_t virtualKey;
        uint8_t key;
        const char* name;
    };
    const Case cases[] = {
        {65, 4, "A"},           {90, 29, "Z"},        {49, 30, "1"},        {57, 38, "9"},
        {48, 39, "0"},          {13, 40, "RETURN"},   {8, 42, "BACK"},      {189, 45, "-"},
        {187, 46, "+"},         {220, 49, "\\|"},     {192, 50, "`~"},      {222, 52, " ' "},
        {188, 54, ","},         {191, 56, "/?"},      {20, 57, "CAPITAL"},  {112, 58, "F1"},
        {123, 69, "F12"},       {44, 70, "SNAPSHOT"}, {33, 75, "PRIOR"},    {34, 78, "NEXT"},
        {38, 82, "UP"},         {97, 89, "NUMPAD1"},  {105, 97, "NUMPAD9"}, {96, 98, "NUMPAD0"},
        {110, 99, "DECIMAL"},   {93, 101, "APPS"},    {124, 104, "F13"},    {135, 115, "F24"},
        {43, 116, "EXECUTE"},   {41, 119, "SELECT"},  {12, 156, "CLEAR"},   {108, 159, "SEPARATOR"},
        {162, 224, "LCONTROL"}, {160, 225, "LSHIFT"}, {164, 226, "LMENU"},  {91, 227, "LWIN"},
        {163, 228, "RCONTROL"}, {165, 230, "RMENU"},  {92, 231, "RWIN"},    {240, 240, "L-KEY"},
        {241, 241, "R-KEY"},    {242, 242, "M-KEY"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyFromVirtualKey(c.virtualKey), c.key) << int{c.virtualKey};
        EXPECT_EQ(VirtualKeyFromKey(c.key), c.virtualKey) << int{c.key};
        EXPECT_EQ(KeyName(c.key), c.name) << int{c.key};
    }
}

TEST(KeyCodes, Oddities) {
    EXPECT_EQ(KeyName(53), "NON-AVAILABLE");
    EXPECT_EQ(KeyFromVirtualKey(16), 16) << "side-neutral Shift has no row";
    EXPECT_EQ(KeyName(16), "M");
    EXPECT_EQ(KeyName(118), "MENU");
    EXPECT_EQ(VirtualKeyFromKey(118), 118);
    for (int k = 0; k < 256; ++k) {
        if (HasNoRow(k)) {
            EXPECT_EQ(KeyName(static_cast<uint8_t>(k)), "NON-AVAILABLE") << k;
        } else {
            EXPECT_NE(KeyName(static_cast<uint8_t>(k)), "NON-AVAILABLE") << k;
        }
    }
}

} // namespace
} // namespace xk
