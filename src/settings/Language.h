#pragma once

#include <cstdint>

namespace xk {

// The interface language: 1 English, 0 Chinese.
inline constexpr int32_t kLanguageEnglish = 1;
inline constexpr int32_t kLanguageChinese = 0;

// Any value other than 0 (a hand-edited config.ini) counts as English wherever the program
// picks by language.
constexpr bool IsEnglish(int32_t language) {
    return language != kLanguageChinese;
}

} // namespace xk
