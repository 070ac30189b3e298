#pragma once

#include "macro/PreTranslate.h"

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace xk {

// The Windows virtual-key code of an X key: by its keycode (evdev layout: the physical key,
// whatever the keyboard layout), left and right modifiers distinct. The keysym decides what
// the keycode cannot: the keypad's digits or its navigation keys, as Num Lock has them, and
// keys that have no keycode of their own (F13..F24, Select, Execute, Help, Clear on a keycode
// that a tool has mapped for the moment). 0 for a key without one.
uint32_t VirtualKeyFromX11Key(uint32_t keycode, uint32_t keysym);

struct KeyMessage {
    uint32_t message = 0;    // key-down, key-up, or their "sys" variants with Alt held or F10
    uint32_t virtualKey = 0; // 0 for a key without one
    uint32_t keycode = 0;    // the X keycode: where the key lies, whatever the keymap says
};

// The key message of a key press or release (its native scan code is the X keycode, its native
// virtual key the keysym); nothing for other events.
std::optional<KeyMessage> KeyMessageOf(const QKeyEvent& event);

} // namespace xk
