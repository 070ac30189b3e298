#include "ui/KeyMessages.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace xk {
namespace {

constexpr uint32_t kVirtualKeyLeftAlt = 0xA4;
constexpr uint32_t kVirtualKeyRightAlt = 0xA5;

// X keycodes (evdev) to virtual-key codes; the keypad's digits as Num Lock on gives them.
constexpr std::array<uint8_t, 203> kTable = [] {
    std::array<uint8_t, 203> t{};
    t[9] = 0x1B; // Escape
    const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
    for (size_t i = 0; i < 10; ++i) {
        t[10 + i] = digits[i];
    }
    t[20] = 0xBD; // minus
    t[21] = 0xBB; // equal
    t[22] = 0x08; // BackSpace
    t[23] = 0x09; // Tab
    const char top[] = "QWERTYUIOP";
    for (size_t i = 0; i < 10; ++i) {
        t[24 + i] = static_cast<uint8_t>(top[i]);
    }
    t[34] = 0xDB; // [
    t[35] = 0xDD; // ]
    t[36] = 0x0D; // Return
    t[37] = 0xA2; // Control_L
    const char middle[] = "ASDFGHJKL";
    for (size_t i = 0; i < 9; ++i) {
        t[38 + i] = static_cast<uint8_t>(middle[i]);
    }
    t[47] = 0xBA; // ;
    t[48] = 0xDE; // '
    t[49] = 0xC0; // `
    t[50] = 0xA0; // Shift_L
    t[51] = 0xDC; // backslash
    const char bottom[] = "ZXCVBNM";
    for (size_t i = 0; i < 7; ++i) {
        t[52 + i] = static_cast<uint8_t>(bottom[i]);
    }
    t[59] = 0xBC; // ,
    t[60] = 0xBE; // .
    t[61] = 0xBF; // /
    t[62] = 0xA1; // Shift_R
    t[63] = 0x6A; // KP_Multiply
    t[64] = 0xA4; // Alt_L
    t[65] = 0x20; // space
    t[66] = 0x14; // Caps_Lock
    for (size_t i = 0; i < 10; ++i) {
        t[67 + i] = static_cast<uint8_t>(0x70 + i); // F1..F10
    }
    t[77] = 0x90;  // Num_Lock
    t[78] = 0x91;  // Scroll_Lock
    t[79] = 0x67;  // KP_7
    t[80] = 0x68;  // KP_8
    t[81] = 0x69;  // KP_9
    t[82] = 0x6D;  // KP_Subtract
    t[83] = 0x64;  // KP_4
    t[84] = 0x65;  // KP_5
    t[85] = 0x66;  // KP_6
    t[86] = 0x6B;  // KP_Add
    t[87] = 0x61;  // KP_1
    t[88] = 0x62;  // KP_2
    t[89] = 0x63;  // KP_3
    t[90] = 0x60;  // KP_0
    t[91] = 0x6E;  // KP_Decimal
    t[94] = 0xE2;  // the key left of Z on ISO keyboards
    t[95] = 0x7A;  // F11
    t[96] = 0x7B;  // F12
    t[104] = 0x0D; // KP_Enter
    t[105] = 0xA3; // Control_R
    t[106] = 0x6F; // KP_Divide
    t[107] = 0x2C; // Print
    t[108] = 0xA5; // Alt_R
    t[110] = 0x24; // Home
    t[111] = 0x26; // Up
    t[112] = 0x21; // Prior
    t[113] = 0x25; // Left
    t[114] = 0x27; // Right
    t[115] = 0x23; // End
    t[116] = 0x28; // Down
    t[117] = 0x22; // Next
    t[118] = 0x2D; // Insert
    t[119] = 0x2E; // Delete
    t[127] = 0x13; // Pause
    t[129] = 0xBC; // the keypad's comma (Brazilian and Japanese keypads)
    t[132] = 0xDC; // the Japanese Yen key: the backslash
    t[133] = 0x5B; // Super_L
    t[134] = 0x5C; // Super_R
    t[135] = 0x5D; // Menu
    t[140] = 0x29; // a USB keyboard's Select, whatever keysym the layout gives it
    t[142] = 0x2B; // a USB keyboard's Execute
    t[146] = 0x2F; // Help
    for (size_t i = 0; i < 12; ++i) {
        t[191 + i] = static_cast<uint8_t>(0x7C + i); // F13..F24
    }
    return t;
}();

// The keypad's keys that Num Lock turns into navigation keys: keycode and virtual key.
constexpr std::array<std::pair<uint8_t, uint8_t>, 11> kKeypadNavigation = {{
    {79, 0x24}, // Home
    {80, 0x26}, // Up
    {81, 0x21}, // Prior
    {83, 0x25}, // Left
    {84, 0x0C}, // Clear
    {85, 0x27}, // Right
    {87, 0x23}, // End
    {88, 0x28}, // Down
    {89, 0x22}, // Next
    {90, 0x2D}, // Insert
    {91, 0x2E}, // Delete
}};

constexpr uint32_t kKeysymKeypad0 = 0xFFB0;
constexpr uint32_t kKeysymKeypad9 = 0xFFB9;
constexpr uint32_t kKeysymKeypadDecimal = 0xFFAE;
constexpr uint32_t kKeysymKeypadSeparator = 0xFFAC;
constexpr uint32_t kKeysymF13 = 0xFFCA;
constexpr uint32_t kKeysymF24 = 0xFFD5;

// Keysyms of keys with a row in the key table that keyboards may lack a keycode for.
constexpr std::array<std::pair<uint32_t, uint8_t>, 4> kKeysymKeys = {{
    {0xFF60, 0x29}, // Select
    {0xFF62, 0x2B}, // Execute
    {0xFF6A, 0x2F}, // Help
    {0xFF0B, 0x0C}, // Clear
}};

bool IsKeypadNumberKeysym(uint32_t keysym) {
    return (keysym >= kKeysymKeypad0 && keysym <= kKeysymKeypad9) ||
           keysym == kKeysymKeypadDecimal || keysym == kKeysymKeypadSeparator;
}

uint32_t VirtualKeyFromKeysym(uint32_t keysym) {
    if (keysym >= kKeysymF13 && keysym <= kKeysymF24) {
        return 0x7C + (keysym - kKeysymF13);
    }
    for (const auto& [sym, virtualKey] : kKeysymKeys) {
        if (sym == keysym) {
            return virtualKey;
        }
    }
    return 0;
}

} // namespace

uint32_t VirtualKeyFromX11Key(uint32_t keycode, uint32_t keysym) {
    if (!IsKeypadNumberKeysym(keysym)) {
        for (const auto& [code, virtualKey] : kKeypadNavigation) {
            if (code == keycode) {
                return virtualKey;
            }
        }
    }
    const uint32_t virtualKey = keycode < kTable.size() ? kTable[keycode] : 0;
    return virtualKey != 0 ? virtualKey : VirtualKeyFromKeysym(keysym);
}

std::optional<KeyMessage> KeyMessageOf(const QKeyEvent& event) {
    const bool press = event.type() == QEvent::KeyPress;
    if (!press && event.type() != QEvent::KeyRelease) {
        return std::nullopt;
    }
    const uint32_t virtualKey =
        VirtualKeyFromX11Key(event.nativeScanCode(), event.nativeVirtualKey());
    const bool alt = (event.modifiers() & Qt::AltModifier) != 0 ||
                     virtualKey == kVirtualKeyLeftAlt || virtualKey == kVirtualKeyRightAlt;
    const bool sys = alt || virtualKey == kVirtualKeyF10;
    KeyMessage message;
    message.virtualKey = virtualKey;
    message.keycode = event.nativeScanCode();
    message.message = press ? (sys ? kSysKeyDownMessage : kKeyDownMessage)
                            : (sys ? kSysKeyUpMessage : kKeyUpMessage);
    return message;
}

} // namespace xk
