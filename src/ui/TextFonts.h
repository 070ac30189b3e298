#pragma once

#include "settings/Language.h"

#include <QFont>

#include <cstdint>

namespace xk {

// The English text font ("Consolas", 14 px high, 7 px wide) and the Chinese text font ("宋体",
// 12 px high, 6 px wide). Where the families are missing, fontconfig substitutes are
// registered (DejaVu Sans Mono, WenQuanYi Zen Hei) and the glyphs are stretched to the width.
struct TextFonts {
    QFont english;
    QFont chinese;

    const QFont& For(int32_t language) const { return IsEnglish(language) ? english : chinese; }
};

// Registers the substitutes once and builds both fonts; needs a QGuiApplication.
TextFonts CreateTextFonts();

} // namespace xk
