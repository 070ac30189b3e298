#include "ctl/CloseMatches.h"

#include "settings/TextCodec.h"

#include <algorithm>
#include <utility>

namespace xk::ctl {

namespace {

std::u16string Folded(std::string_view text) {
    std::u16string folded = Utf16FromUtf8(text);
    for (char16_t& c : folded) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return folded;
}

size_t EditDistance(const std::u16string& a, const std::u16string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0u : 1u)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::vector<std::string> CloseMatches(std::string_view word,
                                      const std::vector<std::string>& candidates, size_t limit) {
    const std::u16string folded = Folded(word);
    const size_t allowed = std::max<size_t>(1, folded.size() / 3);
    std::vector<std::pair<size_t, std::string>> scored;
    for (const std::string& candidate : candidates) {
        const std::u16string other = Folded(candidate);
        if (other.empty()) {
            continue;
        }
        size_t distance = EditDistance(folded, other);
        if (folded.size() >= 2 && other.find(folded) != std::u16string::npos) {
            distance = std::min(distance, allowed);
        }
        if (distance > allowed) {
            continue;
        }
        const bool seen = std::any_of(scored.begin(), scored.end(),
                                      [&](const auto& entry) { return entry.second == candidate; });
        if (!seen) {
            scored.emplace_back(distance, candidate);
        }
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> matches;
    for (size_t i = 0; i < scored.size() && i < limit; ++i) {
        matches.push_back(std::move(scored[i].second));
    }
    return matches;
}

std::string CloseMatchesNote(std::string_view word, const std::vector<std::string>& candidates) {
    const std::vector<std::string> matches = CloseMatches(word, candidates);
    if (matches.empty()) {
        return {};
    }
    std::string note = "; close matches: ";
    for (size_t i = 0; i < matches.size(); ++i) {
        note += (i == 0 ? "" : ", ") + matches[i];
    }
    return note;
}

} // namespace xk::ctl
