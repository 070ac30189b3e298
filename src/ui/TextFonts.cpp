#include "ui/TextFonts.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>

namespace xk {
namespace {

// Stretches a font so that the advance of '0' becomes the wanted width.
void StretchToWidth(QFont& font, int width) {
    const int natural = QFontMetrics(font).horizontalAdvance(QLatin1Char('0'));
    if (natural > 0 && natural != width) {
        font.setStretch(std::clamp(width * 100 / natural, 50, 200));
    }
}

} // namespace

TextFonts CreateTextFonts() {
    QFont::insertSubstitutions(QStringLiteral("Consolas"),
                               {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")});
    const QStringList songti{QStringLiteral("WenQuanYi Zen Hei"),
                             QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Sans Serif")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), songti);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), songti);

    TextFonts fonts;
    fonts.english = QFont(QStringLiteral("Consolas"));
    fonts.english.setPixelSize(14);
    fonts.english.setWeight(QFont::Normal);
    fonts.english.setFixedPitch(true);
    fonts.english.setStyleHint(QFont::TypeWriter);
    StretchToWidth(fonts.english, 7);

    fonts.chinese = QFont(QStringLiteral("宋体"));
    fonts.chinese.setPixelSize(12);
    fonts.chinese.setWeight(QFont::Normal);
    fonts.chinese.setStyleHint(QFont::SansSerif);
    StretchToWidth(fonts.chinese, 6);
    return fonts;
}

} // namespace xk
