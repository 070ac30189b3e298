#pragma once

#include <cstdint>
#include <string>

namespace xk {

// Key codes of macro events: HID keyboard usage IDs in memory and towards the mouse, plus the
// mouse buttons; Windows virtual-key codes in macro files and keyboard messages.
inline constexpr uint8_t kLeftButtonKey = 240;
inline constexpr uint8_t kRightButtonKey = 241;
inline constexpr uint8_t kMiddleButtonKey = 242;

// The key code of a virtual-key code; a code that no row names comes back unchanged.
uint8_t KeyFromVirtualKey(uint8_t virtualKey);
// Whether a row of the key table names the virtual-key code.
bool HasVirtualKeyRow(uint8_t virtualKey);
// The virtual-key code of a key code; a code that no row names comes back unchanged.
uint8_t VirtualKeyFromKey(uint8_t key);
// The display name of a key code in UTF-8; "NON-AVAILABLE" for codes without a row.
std::string KeyName(uint8_t key);

} // namespace xk
