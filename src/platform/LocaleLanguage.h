#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace xk {

// The locale variables that name the language of messages, as the environment gives them.
struct LocaleVariables {
    std::optional<std::string> lcAll;
    std::optional<std::string> lcMessages;
    std::optional<std::string> lang;
};

// The interface language of a locale: Chinese where the first of LC_ALL, LC_MESSAGES and LANG
// that is set and not empty names a Chinese locale (zh, zh_CN.UTF-8, zh_TW@..., ...), English
// otherwise.
int32_t LanguageOfLocale(const LocaleVariables& locale);

// The same for this process's environment.
int32_t LanguageOfThisLocale();

} // namespace xk
