#include "macro/MacroValue.h"

#include "macro/KeyCodes.h"
#include "settings/Decimal.h"
#include "settings/TextCodec.h"

#include <algorithm>
#include <cstring>

namespace xk {

namespace {

constexpr size_t kHeaderBytes = 44; // name and the four header bytes

// The file's order of the 1064 values: name and header as in memory, then per event key,
// action, delay low byte, delay high byte.
uint8_t* ValueTarget(MacroSlot& slot, size_t j) {
    if (j < 40) {
        return &slot.name[j];
    }
    switch (j) {
    case 40:
        return &slot.repeatEnabled;
    case 41:
        return &slot.repeatCountLow;
    case 42:
        return &slot.repeatCountHigh;
    case 43:
        return &slot.eventCount;
    default:
        break;
    }
    const size_t e = (j - kHeaderBytes) / 4;
    switch ((j - kHeaderBytes) % 4) {
    case 0:
        return &slot.events[e].keyCode;
    case 1:
        return &slot.events[e].action;
    case 2:
        return &slot.delays[e][0];
    default:
        return &slot.delays[e][1];
    }
}

bool IsKeyValue(size_t j) {
    return j >= kHeaderBytes && (j - kHeaderBytes) % 4 == 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number of one group: three digits as the file writes them, or whatever ParseDecimal
// makes of anything else.
int32_t GroupValue(std::string_view group) {
    if (group.size() == 3 && IsDigit(group[0]) && IsDigit(group[1]) && IsDigit(group[2])) {
        return (group[0] - '0') * 100 + (group[1] - '0') * 10 + (group[2] - '0');
    }
    return ParseDecimal(group);
}

// The slot of a value's code units (chars of ASCII text, or UTF-16 code units).
template <typename Units> MacroSlot DecodeUnits(Units units) {
    MacroSlot slot;
    std::memset(&slot, 0, sizeof slot);
    for (size_t j = 0; j < sizeof(MacroSlot); ++j) {
        const size_t begin = 3 * j;
        if (begin >= units.size()) {
            break; // the rest reads as 0
        }
        char group[3];
        size_t length = 0;
        for (size_t i = begin; i < units.size() && i < begin + 3; ++i) {
            const auto unit = static_cast<uint32_t>(units[i]);
            group[length++] = unit < 0x80 ? static_cast<char>(unit) : '\x7F';
        }
        auto byte = static_cast<uint8_t>(GroupValue(std::string_view(group, length)) & 0xFF);
        if (IsKeyValue(j)) {
            byte = KeyFromVirtualKey(byte);
        }
        *ValueTarget(slot, j) = byte;
    }
    return slot;
}

} // namespace

std::string EncodeMacroValue(const MacroSlot& slot) {
    MacroSlot copy = slot;
    std::string out(kMacroValueLength, '0');
    for (size_t j = 0; j < sizeof(MacroSlot); ++j) {
        uint8_t value = *ValueTarget(copy, j);
        if (IsKeyValue(j)) {
            value = VirtualKeyFromKey(value);
        }
        out[3 * j] = static_cast<char>('0' + value / 100);
        out[3 * j + 1] = static_cast<char>('0' + value / 10 % 10);
        out[3 * j + 2] = static_cast<char>('0' + value % 10);
    }
    return out;
}

MacroSlot DecodeMacroValue(std::string_view value) {
    // Groups are counted in UTF-16 code units, as the file's text is; ASCII text is its own.
    const bool ascii = std::all_of(value.begin(), value.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? DecodeUnits(value) : DecodeUnits(std::u16string_view(Utf16FromUtf8(value)));
}

} // namespace xk
