#include "platform/PointerSettingText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace xk {

std::optional<std::vector<std::string_view>> WordsOfKind(std::string_view setting,
                                                         std::string_view kind) {
    std::vector<std::string_view> words;
    while (!setting.empty()) {
        const size_t space = setting.find(' ');
        const std::string_view word = setting.substr(0, space);
        if (!word.empty()) {
            words.push_back(word);
        }
        setting = space == std::string_view::npos ? std::string_view() : setting.substr(space + 1);
    }
    if (words.empty() || words.front() != kind) {
        return std::nullopt;
    }
    words.erase(words.begin());
    return words;
}

std::optional<int> IntOfWord(std::string_view word) {
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> DesktopSpeedOfWord(std::string_view word) {
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || !std::isfinite(value) ||
        value < -1.0 || value > 1.0) {
        return std::nullopt;
    }
    return value;
}

std::string WordOfDesktopSpeed(double speed) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), speed);
    return std::string(text.data(), result.ptr);
}

} // namespace xk
