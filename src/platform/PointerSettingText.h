#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xk {

// The pieces of a desktop's pointer setting as text: "<kind> <word> <word>...".

// The words after the kind, when the setting is of that kind.
std::optional<std::vector<std::string_view>> WordsOfKind(std::string_view setting,
                                                         std::string_view kind);
// A whole word as a number; nothing for anything else.
std::optional<int> IntOfWord(std::string_view word);
// A libinput speed (-1..1) as a whole word; nothing for anything else.
std::optional<double> DesktopSpeedOfWord(std::string_view word);
// A speed as the shortest text that reads back as the same double.
std::string WordOfDesktopSpeed(double speed);

} // namespace xk
