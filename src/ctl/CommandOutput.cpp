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

} // namespace xk::ctl
