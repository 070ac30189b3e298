#include "macro/KeyCodes.h"

#include <array>
#include <optional>
#include <string_view>

namespace xk {

namespace {

struct KeyRow {
    uint8_t virtualKey;
    uint8_t key;
    std::string_view name; // empty: formed from the code (letters, digits 1..9)
};

// Rows with one virtual-key code each; ranges are listed element by element.
constexpr auto kRows = [] {
    std::array<KeyRow, 123> rows{};
    size_t n = 0;
    auto add = [&](int vk, int key, std::string_view name) {
        rows[n++] = KeyRow{static_cast<uint8_t>(vk), static_cast<uint8_t>(key), name};
    };
    for (int i = 0; i < 26; ++i) {
        add(65 + i, 4 + i, {});
    }
    for (int i = 0; i < 9; ++i) {
        add(49 + i, 30 + i, {});
    }
    add(48, 39, "0");
    add(13, 40, "RETURN");
    add(27, 41, "ESCAPE");
    add(8, 42, "BACK");
    add(9, 43, "TAB");
    add(32, 44, "SPACE");
    add(189, 45, "-");
    add(187, 46, "+");
    add(219, 47, "[{");
    add(221, 48, "]}");
    add(220, 49, "\\|");
    add(192, 50, "`~");
    add(186, 51, ";:");
    add(222, 52, " ' ");
    add(188, 54, ",");
    add(190, 55, ".");
    add(191, 56, "/?");
    add(20, 57, "CAPITAL");
    constexpr std::array<std::string_view, 24> kFunctionKeys = {
        "F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",  "F9",  "F10", "F11", "F12",
        "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
    for (int i = 0; i < 12; ++i) {
        add(112 + i, 58 + i, kFunctionKeys[static_cast<size_t>(i)]);
    }
    add(44, 70, "SNAPSHOT");
    add(145, 71, "SCROLL");
    add(19, 72, "PAUSE");
    add(45, 73, "INSERT");
    add(36, 74, "HOME");
    add(33, 75, "PRIOR");
    add(46, 76, "DELETE");
    add(35, 77, "END");
    add(34, 78, "NEXT");
    add(39, 79, "RIGHT");
    add(37, 80, "LEFT");
    add(40, 81, "DOWN");
    add(38, 82, "UP");
    add(144, 83, "NUMLOCK");
    add(111, 84, "DIVIDE");
    add(106, 85, "MULTIPLY");
    add(109, 86, "SUBTRACT");
    add(107, 87, "ADD");
    constexpr std::array<std::string_view, 9> kNumpad = {"NUMPAD1", "NUMPAD2", "NUMPAD3",
                                                         "NUMPAD4", "NUMPAD5", "NUMPAD6",
                                                         "NUMPAD7", "NUMPAD8", "NUMPAD9"};
    for (int i = 0; i < 9; ++i) {
        add(97 + i, 89 + i, kNumpad[static_cast<size_t>(i)]);
    }
    add(96, 98, "NUMPAD0");
    add(110, 99, "DECIMAL");
    add(93, 101, "APPS");
    for (int i = 0; i < 12; ++i) {
        add(124 + i, 104 + i, kFunctionKeys[static_cast<size_t>(12 + i)]);
    }
    add(43, 116, "EXECUTE");
    add(47, 117, "HELP");
    add(41, 119, "SELECT");
    add(12, 156, "CLEAR");
    add(108, 159, "SEPARATOR");
    add(162, 224, "LCONTROL");
    add(160, 225, "LSHIFT");
    add(164, 226, "LMENU");
    add(91, 227, "LWIN");
    add(163, 228, "RCONTROL");
    add(161, 229, "RSHIFT");
    add(165, 230, "RMENU");
    add(92, 231, "RWIN");
    add(240, 240, "L-KEY");
    add(241, 241, "R-KEY");
    add(242, 242, "M-KEY");
    if (n != rows.size()) {
        throw "key table size";
    }
    return rows;
}();

// Direct lookup tables built once from the rows.
struct Lookup {
    std::array<uint8_t, 256> keyOfVirtual{};
    std::array<uint8_t, 256> virtualOfKey{};
    std::array<std::optional<size_t>, 256> rowOfKey{};
    std::array<bool, 256> virtualKeyHasRow{};
};

constexpr Lookup kLookup = [] {
    Lookup l{};
    for (size_t i = 0; i < 256; ++i) {
        l.keyOfVirtual[i] = static_cast<uint8_t>(i);
        l.virtualOfKey[i] = static_cast<uint8_t>(i);
    }
    for (size_t r = 0; r < kRows.size(); ++r) {
        l.keyOfVirtual[kRows[r].virtualKey] = kRows[r].key;
        l.virtualOfKey[kRows[r].key] = kRows[r].virtualKey;
        l.rowOfKey[kRows[r].key] = r;
        l.virtualKeyHasRow[kRows[r].virtualKey] = true;
    }
    return l;
}();

constexpr uint8_t kMenuKey = 118; // a key code with a name but no virtual-key code

} // namespace

uint8_t KeyFromVirtualKey(uint8_t virtualKey) {
    return kLookup.keyOfVirtual[virtualKey];
}

bool HasVirtualKeyRow(uint8_t virtualKey) {
    return kLookup.virtualKeyHasRow[virtualKey];
}

uint8_t VirtualKeyFromKey(uint8_t key) {
    return kLookup.virtualOfKey[key];
}

std::string KeyName(uint8_t key) {
    if (key == kMenuKey) {
        return "MENU";
    }
    const auto row = kLookup.rowOfKey[key];
    if (!row) {
        return "NON-AVAILABLE";
    }
    if (key >= 4 && key <= 29) {
        return std::string(1, static_cast<char>(key + 61));
    }
    if (key >= 30 && key <= 38) {
        return std::to_string(key - 29);
    }
    return std::string(kRows[*row].name);
}

} // namespace xk
