#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace xk::ctl {

// The candidates that a mistyped word was probably meant to be, closest first: those a few
// edits away (ASCII letter case aside) and those that hold the word. At most `limit`.
std::vector<std::string> CloseMatches(std::string_view word,
                                      const std::vector<std::string>& candidates, size_t limit = 5);

// "; close matches: a, b" or "" when there are none.
std::string CloseMatchesNote(std::string_view word, const std::vector<std::string>& candidates);

} // namespace xk::ctl
