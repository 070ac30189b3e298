#include "ctl/CommandOutput.h"

namespace xk::ctl {

void CommandOutput::Add(bool error, std::string_view text) {
    while (true) {
        const size_t newline = text.find('\n');
        lines_.push_back({error, std::string(text.substr(0, newline))});
        if (newline == std::string_view::npos) {
            return;
        }
        text.remove_prefix(newline + 1);
    }
}

std::string CommandOutput::Text(bool error) const {
    std::string text;
    for (const Line& line : lines_) {
        if (line.error == error) {
            text += line.text;
            text += '\n';
        }
    }
    return text;
}

std::string PrintableText(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x20 || byte == 0x7F) {
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0xF];
        } else if (byte == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            // U+0080..U+009F, the C1 controls (CSI among them).
            const auto second = static_cast<unsigned char>(utf8[++i]);
            text += "\\u00";
            text += kHex[second >> 4];
            text += kHex[second & 0xF];
        } else {
            text += utf8[i];
        }
    }
    return text;
}

} // namespace xk::ctl
