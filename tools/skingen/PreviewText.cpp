#include "PreviewText.h"

#include "settings/Language.h"

#include <QFontMetrics>

namespace xk::skingen {

void RegisterFontSubstitutes() {
    QFont::insertSubstitution("Consolas", "DejaVu Sans Mono");
    QFont::insertSubstitutions("宋体", {"WenQuanYi Zen Hei", "SimSun"});
    QFont::insertSubstitution("SimSun", "WenQuanYi Zen Hei");
}

QFont TextFont(int32_t language) {
    QFont font(IsEnglish(language) ? "Consolas" : "宋体");
    font.setPixelSize(IsEnglish(language) ? 14 : 12);
    font.setStyleHint(IsEnglish(language) ? QFont::Monospace : QFont::SansSerif);
    return font;
}

void DrawTextAt(QPainter& p, int x, int y, const std::string& text, const QColor& colour) {
    const QFontMetrics metrics(p.font());
    p.setPen(colour);
    p.drawText(QPointF(x, y + metrics.ascent()), QString::fromStdString(text));
}

void DrawCentred(QPainter& p, const Element& e, const std::string& text, const QColor& colour) {
    const QFontMetrics metrics(p.font());
    const int width = metrics.horizontalAdvance(QString::fromStdString(text));
    DrawTextAt(p, e.x + (e.width - width) / 2, e.y + (e.height - metrics.height()) / 2, text,
               colour);
}

void DrawLeft(QPainter& p, const Element& e, const std::string& text, const QColor& colour) {
    const QFontMetrics metrics(p.font());
    DrawTextAt(p, e.x + 5, e.y + (e.height - metrics.height()) / 2, text, colour);
}

} // namespace xk::skingen
