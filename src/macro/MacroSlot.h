#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace xk {

inline constexpr int kMacroEventCapacity = 255;
inline constexpr int kMacroNameUnits = 20; // 19 characters and the NUL
inline constexpr uint8_t kActionPress = 1;
inline constexpr uint8_t kActionRelease = 2;

// One macro: 1064 bytes, byte-packed, the same layout in memory for user and constant macros.
struct MacroSlot {
    struct Event {
        uint8_t keyCode;
        uint8_t action;
    };

    std::array<uint8_t, 2 * kMacroNameUnits> name; // UTF-16LE, NUL-terminated, zero-filled
    uint8_t repeatEnabled;
    uint8_t repeatCountLow;
    uint8_t repeatCountHigh;
    uint8_t eventCount;
    std::array<Event, kMacroEventCapacity> events;
    std::array<std::array<uint8_t, 2>, kMacroEventCapacity> delays; // little-endian uint16

    uint16_t RepeatCount() const {
        return static_cast<uint16_t>(repeatCountLow | (repeatCountHigh << 8));
    }
    void SetRepeatCount(uint16_t count) {
        repeatCountLow = static_cast<uint8_t>(count & 0xFF);
        repeatCountHigh = static_cast<uint8_t>(count >> 8);
    }
    // k is 0..254.
    uint16_t Delay(size_t k) const {
        return static_cast<uint16_t>(delays[k][0] | (delays[k][1] << 8));
    }
    void SetDelay(size_t k, uint16_t ms) {
        delays[k][0] = static_cast<uint8_t>(ms & 0xFF);
        delays[k][1] = static_cast<uint8_t>(ms >> 8);
    }
    // The name up to its NUL (at most 20 code units).
    std::u16string Name() const {
        std::u16string out;
        for (size_t i = 0; i < kMacroNameUnits; ++i) {
            const auto unit = static_cast<char16_t>(name[2 * i] | (name[2 * i + 1] << 8));
            if (unit == 0) {
                break;
            }
            out += unit;
        }
        return out;
    }
    // Zero-fills the name field and stores at most 19 code units of `text` with a NUL.
    void SetName(std::u16string_view text) {
        name.fill(0);
        const size_t n = text.size() < kMacroNameUnits - 1 ? text.size() : kMacroNameUnits - 1;
        for (size_t i = 0; i < n; ++i) {
            name[2 * i] = static_cast<uint8_t>(text[i] & 0xFF);
            name[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
        }
    }
};

static_assert(sizeof(MacroSlot) == 1064, "MacroSlot is the 1064-byte file and device record");
static_assert(std::is_trivially_copyable_v<MacroSlot>);
static_assert(std::is_standard_layout_v<MacroSlot>);
static_assert(offsetof(MacroSlot, repeatEnabled) == 40);
static_assert(offsetof(MacroSlot, eventCount) == 43);
static_assert(offsetof(MacroSlot, events) == 44);
static_assert(offsetof(MacroSlot, delays) == 554);

} // namespace xk
