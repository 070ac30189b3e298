#include "platform/LocaleLanguage.h"

#include "settings/Language.h"

#include <cstdlib>
#include <string_view>

namespace xk {
namespace {

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

bool IsChinese(std::string_view locale) {
    // language[_territory][.codeset][@modifier]
    if (!locale.starts_with("zh")) {
        return false;
    }
    return locale.size() == 2 || locale[2] == '_' || locale[2] == '.' || locale[2] == '@';
}

} // namespace

int32_t LanguageOfLocale(const LocaleVariables& locale) {
    for (const auto* variable : {&locale.lcAll, &locale.lcMessages, &locale.lang}) {
        if (*variable && !(*variable)->empty()) {
            return IsChinese(**variable) ? kLanguageChinese : kLanguageEnglish;
        }
    }
    return kLanguageEnglish;
}

int32_t LanguageOfThisLocale() {
    return LanguageOfLocale({Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")});
}

} // namespace xk
