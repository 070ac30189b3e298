#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace xk {

QImage ApplicationIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 64.0;
    QPainterPath body;
    body.addRoundedRect(QRectF(14 * s, 4 * s, 36 * s, 56 * s), 17 * s, 17 * s);
    p.fillPath(body, QColor(0x1c, 0x21, 0x30));
    p.setPen(QPen(QColor(0, 220, 255), std::max(1.0, 3 * s)));
    p.drawPath(body);
    p.drawLine(QPointF(32 * s, 6 * s), QPointF(32 * s, 24 * s));
    p.fillRect(QRectF(29 * s, 12 * s, 6 * s, 9 * s), QColor(230, 40, 200));
    p.end();
    return image;
}

QIcon MakeApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(ApplicationIconImage(size)));
    }
    return icon;
}

} // namespace xk
