#include "ui/Canvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace xk {

QImage Canvas(QSize logical, qreal devicePixelRatio) {
    const qreal ratio =
        std::isfinite(devicePixelRatio) ? std::clamp(devicePixelRatio, 1.0, 8.0) : 1.0;
    const QSize pixels(static_cast<int>(std::ceil(logical.width() * ratio)),
                       static_cast<int>(std::ceil(logical.height() * ratio)));
    QImage image(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    return image;
}

void UseCanvasHints(QPainter& painter) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

} // namespace xk
