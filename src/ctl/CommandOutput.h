#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace xk::ctl {

// What a command prints, in order: lines for standard output and for standard error.
class CommandOutput {
public:
    struct Line {
        bool error = false;
        std::string text;

        bool operator==(const Line&) const = default;
    };

    // A text of several lines becomes several lines.
    void Print(std::string_view text) { Add(false, text); }
    void Error(std::string_view text) { Add(true, text); }

    const std::vector<Line>& lines() const { return lines_; }
    // Every line of one stream joined with newlines; for tests and messages.
    std::string Text(bool error) const;

private:
    void Add(bool error, std::string_view text);
    std::vector<Line> lines_;
};

// Text from a file (a macro's name) as a terminal may show it: control characters (C0, DEL
// and C1) written as \xHH or \u00HH escapes, so none reaches the terminal itself.
std::string PrintableText(std::string_view utf8);

} // namespace xk::ctl
