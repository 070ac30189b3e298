#include "ui/CentredText.h"

#include <QFontMetrics>
#include <QPainter>

#include <cstdint>

namespace xk {

void DrawCentredText(QPainter& p, const Element& e, const QString& text, const QColor& colour) {
    if (text.isEmpty()) {
        return;
    }
    const QFontMetrics metrics(p.font());
    const int64_t x = e.x + (int64_t{e.width} - metrics.horizontalAdvance(text)) / 2;
    const int64_t y = e.y + (int64_t{e.height} - metrics.height()) / 2;
    p.setPen(colour);
    p.drawText(QPoint(static_cast<int>(x), static_cast<int>(y) + metrics.ascent()), text);
}

} // namespace xk
