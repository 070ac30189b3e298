#include "ui/PopupPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace xk {
namespace {

// One coordinate: kept where [start, start + length) lies in [low, high), else moved inward.
int Inside(int start, int length, int low, int high) {
    if (start + length > high) {
        start = high - length;
    }
    return std::max(start, low);
}

} // namespace

QPoint PlaceInside(QPoint wanted, QSize size, const QRect& area) {
    if (area.isEmpty()) {
        return wanted;
    }
    return {Inside(wanted.x(), size.width(), area.left(), area.left() + area.width()),
            Inside(wanted.y(), size.height(), area.top(), area.top() + area.height())};
}

QPoint PlaceSubPopup(const QRect& popup, QSize size, int wantedTop, int rowBottom,
                     const QRect& area) {
    if (area.isEmpty()) {
        return {popup.left() + popup.width(), wantedTop};
    }
    const int areaRight = area.left() + area.width();
    const int areaBottom = area.top() + area.height();
    int x = popup.left() + popup.width();
    if (x + size.width() > areaRight && popup.left() - size.width() >= area.left()) {
        x = popup.left() - size.width();
    }
    int y = wantedTop;
    if (y + size.height() > areaBottom) {
        y = std::min(y, rowBottom - size.height());
    }
    return PlaceInside({x, y}, size, area);
}

QRect AvailableAreaAt(QPoint point, const QWidget* fallback) {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (screen == nullptr && fallback != nullptr) {
        screen = fallback->screen();
    }
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

} // namespace xk
