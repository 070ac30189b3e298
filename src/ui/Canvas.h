#pragma once

#include <QImage>
#include <QSize>

class QPainter;

namespace xk {

// A black frame of `logical` size to compose a window's picture in, at the screen's device
// pixel ratio: painted in logical coordinates, the skin's pictures are scaled smoothly into it
// and texts are drawn at full resolution. A painter on it takes UseCanvasHints.
QImage Canvas(QSize logical, qreal devicePixelRatio);

// The hints of every painter that draws the skin's pictures scaled.
void UseCanvasHints(QPainter& painter);

} // namespace xk
