#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace xk {

// The top-left of a window of `size` that asks for `wanted`, on `area` (a screen's available
// geometry): `wanted` where the window fits, else moved inward at each edge it crosses; a window
// larger than the area keeps its top-left edge on it.
QPoint PlaceInside(QPoint wanted, QSize size, const QRect& area);

// The sub-popup of a function popup (`popup`, global): on its right from `wantedTop` where it
// fits, else on its left; where it would cross the area's bottom, its last row level with the
// row that opened it (which ends at `rowBottom`), as far as the area allows.
QPoint PlaceSubPopup(const QRect& popup, QSize size, int wantedTop, int rowBottom,
                     const QRect& area);

// The available geometry of the screen that holds `point`; the screen of `fallback` (or the
// primary one) when no screen holds it.
QRect AvailableAreaAt(QPoint point, const QWidget* fallback);

} // namespace xk
