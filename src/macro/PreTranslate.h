#pragma once

#include <cstdint>

namespace xk {

// Window messages as the main window's pre-translation sees them (the Windows ids); key
// messages carry the virtual-key code.
inline constexpr uint32_t kKeyDownMessage = 0x0100;
inline constexpr uint32_t kKeyUpMessage = 0x0101;
inline constexpr uint32_t kSysKeyDownMessage = 0x0104;
inline constexpr uint32_t kSysKeyUpMessage = 0x0105;
inline constexpr uint32_t kRightButtonUpMessage = 0x0205;

inline constexpr uint32_t kVirtualKeyReturn = 13;
inline constexpr uint32_t kVirtualKeyEscape = 27;
inline constexpr uint32_t kVirtualKeyF10 = 121;

bool IsKeyMessage(uint32_t message);
bool IsKeyDownMessage(uint32_t message);

// What the main window does with a message before dispatching it.
struct PreTranslation {
    bool record = false;        // hand it to RecordKeyMessage
    bool openEventMenu = false; // run OpenEventMenu
    bool swallow = false;       // handled: not dispatched
};
// Key messages while recording are recorded and swallowed: the keyboard belongs to the
// recording, so no key opens or triggers anything of the window. A right-button release on the
// macro page opens the event menu. A key-down of Escape or Return and every key message of F10
// are swallowed too.
PreTranslation PreTranslateMessage(uint32_t message, uint32_t virtualKey, bool recording,
                                   bool macroPageShown);

} // namespace xk
