#pragma once

#include "PageSource.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>

namespace xk::skingen {

// The three looks of a picture set: background, highlighted, pressed.
enum class Look { Normal, Over, Down };

QRectF RectOf(const Element& e);
QPolygonF PolygonOf(const std::vector<Point>& outline);

// Surfaces shared by the element looks.
void DrawFace(QPainter& p, const QRectF& r, Look look, qreal radius);
void DrawAccentFace(QPainter& p, const QRectF& r, Look look, qreal radius);
void DrawInnerGlow(QPainter& p, const QRectF& r, const QColor& colour, qreal radius);
void DrawRecess(QPainter& p, const QRectF& r, const QColor& edge, qreal radius);

bool IsKnownRole(const std::string& role);

// The mouse seen from above, filling r.
void DrawMouseTop(QPainter& p, const QRectF& r, const QColor& body, const QColor& edge);

// One element in one look, kept inside its rectangle. `led` is the LED preview colour of the
// picture being drawn (light page).
void DrawElement(QPainter& p, const SourceElement& e, Look look, const QColor& led);

// The skinned window body from its outline, and the decorations of a page.
void DrawBody(QPainter& p, const std::vector<Point>& outline);
void DrawDecoration(QPainter& p, const Decoration& d);
// Leader lines from the button slots to the mouse drawing's buttons.
void DrawLeaderLines(QPainter& p, const PageSource& page, bool ends);

// A mask picture: the outline's inside black (the window), the rest white.
QImage DrawMask(int width, int height, const std::vector<Point>& outline);

} // namespace xk::skingen
