#include "ui/KeyMessages.h"

#include <QKeyEvent>

#include <array>

namespace xk {
namespace {

constexpr uint32_t kVirtualKeyLeftAlt = 0xA4;
constexpr uint32_t kVirtualKeyRightAlt = 0xA5;

// X keycodes 8..135 (evdev) to virtual-key codes.
constexpr std::array<uint8_t, 136> kTable = [] {
    std::array<uint8_t, 136> t{};
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
    t[133] = 0x5B; // Super_L
    t[134] = 0x5C; // Super_R
    t[135] = 0x5D; // Menu
    return t;
}();

} // namespace

uint32_t VirtualKeyFromX11Keycode(uint32_t keycode) {
    return keycode < kTable.size() ? kTable[keycode] : 0;
}

std::optional<KeyMessage> KeyMessageOf(const QKeyEvent& event) {
    const bool press = event.type() == QEvent::KeyPress;
    if (!press && event.type() != QEvent::KeyRelease) {
        return std::nullopt;
    }
    const uint32_t virtualKey = VirtualKeyFromX11Keycode(event.nativeScanCode());
    if (virtualKey == 0) {
        return std::nullopt;
    }
    const bool alt = (event.modifiers() & Qt::AltModifier) != 0 ||
                     virtualKey == kVirtualKeyLeftAlt || virtualKey == kVirtualKeyRightAlt;
    const bool sys = alt || virtualKey == kVirtualKeyF10;
    KeyMessage message;
    message.virtualKey = virtualKey;
    message.message = press ? (sys ? kSysKeyDownMessage : kKeyDownMessage)
                            : (sys ? kSysKeyUpMessage : kKeyUpMessage);
    return message;
}

} // namespace xk
