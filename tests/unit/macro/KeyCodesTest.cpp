#include "macro/KeyCodes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

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

struct KeyRow {
    int virtualKey; // -1: none
    int key;
    std::string name;
};

// The key table, row by row; ranges map element by element.
std::vector<KeyRow> KeyTable() {
    std::vector<KeyRow> rows;
    const auto range = [&](int firstVirtualKey, int firstKey, int count, auto nameOf) {
        for (int i = 0; i < count; ++i) {
            rows.push_back({firstVirtualKey + i, firstKey + i, nameOf(i)});
        }
    };
    range(65, 4, 26, [](int i) { return std::string(1, static_cast<char>('A' + i)); });
    range(49, 30, 9, [](int i) { return std::to_string(i + 1); });
    rows.insert(rows.end(), {{48, 39, "0"},
                             {13, 40, "RETURN"},
                             {27, 41, "ESCAPE"},
                             {8, 42, "BACK"},
                             {9, 43, "TAB"},
                             {32, 44, "SPACE"},
                             {189, 45, "-"},
                             {187, 46, "+"},
                             {219, 47, "[{"},
                             {221, 48, "]}"},
                             {220, 49, "\\|"},
                             {192, 50, "`~"},
                             {186, 51, ";:"},
                             {222, 52, " ' "},
                             {188, 54, ","},
                             {190, 55, "."},
                             {191, 56, "/?"},
                             {20, 57, "CAPITAL"}});
    range(112, 58, 12, [](int i) { return "F" + std::to_string(i + 1); });
    rows.insert(rows.end(), {{44, 70, "SNAPSHOT"},
                             {145, 71, "SCROLL"},
                             {19, 72, "PAUSE"},
                             {45, 73, "INSERT"},
                             {36, 74, "HOME"},
                             {33, 75, "PRIOR"},
                             {46, 76, "DELETE"},
                             {35, 77, "END"},
                             {34, 78, "NEXT"},
                             {39, 79, "RIGHT"},
                             {37, 80, "LEFT"},
                             {40, 81, "DOWN"},
                             {38, 82, "UP"},
                             {144, 83, "NUMLOCK"},
                             {111, 84, "DIVIDE"},
                             {106, 85, "MULTIPLY"},
                             {109, 86, "SUBTRACT"},
                             {107, 87, "ADD"}});
    range(97, 89, 9, [](int i) { return "NUMPAD" + std::to_string(i + 1); });
    rows.insert(rows.end(), {{96, 98, "NUMPAD0"}, {110, 99, "DECIMAL"}, {93, 101, "APPS"}});
    range(124, 104, 12, [](int i) { return "F" + std::to_string(i + 13); });
    rows.insert(rows.end(), {{43, 116, "EXECUTE"},
                             {47, 117, "HELP"},
                             {-1, 118, "MENU"},
                             {41, 119, "SELECT"},
                             {12, 156, "CLEAR"},
                             {108, 159, "SEPARATOR"},
                             {162, 224, "LCONTROL"},
                             {160, 225, "LSHIFT"},
                             {164, 226, "LMENU"},
                             {91, 227, "LWIN"},
                             {163, 228, "RCONTROL"},
                             {161, 229, "RSHIFT"},
                             {165, 230, "RMENU"},
                             {92, 231, "RWIN"},
                             {240, 240, "L-KEY"},
                             {241, 241, "R-KEY"},
                             {242, 242, "M-KEY"}});
    return rows;
}

// Every row pinned, so that two swapped rows fail (a round trip alone would pass them), and
// every code without a row passes through unchanged.
TEST(KeyCodes, EveryRowOfTheKeyTable) {
    const std::vector<KeyRow> rows = KeyTable();
    EXPECT_EQ(rows.size(), 124u);
    std::set<int> virtualKeys;
    std::set<int> keys;
    for (const KeyRow& row : rows) {
        const auto key = static_cast<uint8_t>(row.key);
        EXPECT_EQ(KeyName(key), row.name) << row.key;
        keys.insert(row.key);
        if (row.virtualKey < 0) {
            EXPECT_EQ(VirtualKeyFromKey(key), key) << row.key;
            continue;
        }
        const auto virtualKey = static_cast<uint8_t>(row.virtualKey);
        EXPECT_EQ(KeyFromVirtualKey(virtualKey), key) << "virtual key " << row.virtualKey;
        EXPECT_EQ(VirtualKeyFromKey(key), virtualKey) << row.key;
        virtualKeys.insert(row.virtualKey);
    }
    for (int code = 0; code < 256; ++code) {
        const auto c = static_cast<uint8_t>(code);
        if (virtualKeys.count(code) == 0) {
            EXPECT_EQ(KeyFromVirtualKey(c), c) << "virtual key " << code << " has no row";
        }
        if (keys.count(code) == 0) {
            EXPECT_EQ(VirtualKeyFromKey(c), c) << code << " has no row";
        }
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
