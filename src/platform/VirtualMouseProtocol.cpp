#include "platform/VirtualMouseProtocol.h"

#include "settings/HexDigit.h"

#include <charconv>

namespace xk::vmouse {

namespace {

int HexDigit(char c) {
    return HexDigitValue(c).value_or(-1);
}

// One byte of two hex digits.
std::optional<uint8_t> HexByte(std::string_view word) {
    if (word.size() != 2 || HexDigit(word[0]) < 0 || HexDigit(word[1]) < 0) {
        return std::nullopt;
    }
    return static_cast<uint8_t>(HexDigit(word[0]) * 16 + HexDigit(word[1]));
}

// The bytes of words[first..], each one byte of hex.
std::optional<std::vector<uint8_t>> BytesOfWords(const std::vector<std::string_view>& words,
                                                 size_t first) {
    std::vector<uint8_t> bytes;
    for (size_t i = first; i < words.size(); ++i) {
        const auto byte = HexByte(words[i]);
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(*byte);
    }
    return bytes;
}

} // namespace

std::string HexBytes(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const uint8_t byte : bytes) {
        if (!out.empty()) {
            out += ' ';
        }
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0x0F];
    }
    return out;
}

std::optional<std::vector<uint8_t>> ParseHexBytes(std::string_view text) {
    return BytesOfWords(Words(text), 0);
}

std::optional<uint16_t> ParseHex16(std::string_view text) {
    if (text.size() != 4) {
        return std::nullopt;
    }
    uint16_t value = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = static_cast<uint16_t>(value * 16 + digit);
    }
    return value;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t pos = 0;
    while (pos < line.size()) {
        const size_t space = line.find(' ', pos);
        const size_t end = space == std::string_view::npos ? line.size() : space;
        if (end > pos) {
            words.push_back(line.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    return words;
}

std::optional<int> ParseNumber(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<OpenReply> ParseOpenReply(std::string_view line) {
    const auto words = Words(line);
    if (words.size() < 3 || words[0] != "ok") {
        return std::nullopt;
    }
    const auto vendor = ParseHex16(words[1]);
    const auto product = ParseHex16(words[2]);
    auto descriptor = BytesOfWords(words, 3);
    if (!vendor || !product || !descriptor) {
        return std::nullopt;
    }
    return OpenReply{{*vendor, *product}, std::move(*descriptor)};
}

std::optional<std::vector<uint8_t>> ParseInputLine(std::string_view line) {
    const auto words = Words(line);
    if (words.empty() || words[0] != "input") {
        return std::nullopt;
    }
    auto bytes = BytesOfWords(words, 1);
    if (!bytes || bytes->empty()) {
        return std::nullopt;
    }
    return bytes;
}

std::string InterfacePath(const std::string& socketPath, int index) {
    return "vmouse:" + socketPath + "#" + std::to_string(index);
}

std::optional<int> InterfaceIndexOf(const std::string& socketPath, const std::string& path) {
    const std::string prefix = "vmouse:" + socketPath + "#";
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    return ParseNumber(std::string_view(path).substr(prefix.size()), 0, 255);
}

} // namespace xk::vmouse
