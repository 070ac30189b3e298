#include "macro/MacroValue.h"

#include "macro/KeyCodes.h"
#include "settings/Decimal.h"
#include "settings/TextCodec.h"

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

} // namespace

std::string EncodeMacroValue(const MacroSlot& slot) {
    MacroSlot copy = slot;
    std::string out;
    out.reserve(kMacroValueLength);
    for (size_t j = 0; j < sizeof(MacroSlot); ++j) {
        uint8_t value = *ValueTarget(copy, j);
        if (IsKeyValue(j)) {
            value = VirtualKeyFromKey(value);
        }
        out += static_cast<char>('0' + value / 100);
        out += static_cast<char>('0' + value / 10 % 10);
        out += static_cast<char>('0' + value % 10);
    }
    return out;
}

MacroSlot DecodeMacroValue(std::string_view value) {
    // Groups are counted in UTF-16 code units, as the file's text is.
    const std::u16string units = Utf16FromUtf8(value);
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
            group[length++] = units[i] < 0x80 ? static_cast<char>(units[i]) : '\x7F';
        }
        auto byte = static_cast<uint8_t>(ParseDecimal(std::string_view(group, length)) & 0xFF);
        if (IsKeyValue(j)) {
            byte = KeyFromVirtualKey(byte);
        }
        *ValueTarget(slot, j) = byte;
    }
    return slot;
}

} // namespace xk
