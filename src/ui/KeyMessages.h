#pragma once

#include "macro/PreTranslate.h"

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace xk {

// The Windows virtual-key code of an X keycode (evdev layout: the physical key, whatever the
// keyboard layout), left and right modifiers distinct; 0 for a key without one.
uint32_t VirtualKeyFromX11Keycode(uint32_t keycode);

struct KeyMessage {
    uint32_t message = 0; // key-down, key-up, or their "sys" variants with Alt held or F10
    uint32_t virtualKey = 0;
};

// The key message of a key press or release; nothing for other events or unknown keys.
std::optional<KeyMessage> KeyMessageOf(const QKeyEvent& event);

} // namespace xk
