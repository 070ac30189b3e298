#include "Art.h"
#include "Palette.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace xk::skingen {

namespace {

QLinearGradient Vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

void Fill(QPainter& p, const QRectF& r, qreal radius, const QBrush& brush, const QColor& edge) {
    p.setPen(QPen(edge, 1));
    p.setBrush(brush);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

// A one-pixel lighter line along the top inside edge.
void TopHighlight(QPainter& p, const QRectF& r, const QColor& colour, qreal radius) {
    p.setPen(QPen(colour, 1));
    p.drawLine(QPointF(r.left() + radius + 1, r.top() + 1.5),
               QPointF(r.right() - radius - 1, r.top() + 1.5));
}

} // namespace

QRectF RectOf(const Element& e) {
    return QRectF(e.x, e.y, e.width, e.height);
}

QPolygonF PolygonOf(const std::vector<Point>& outline) {
    QPolygonF polygon;
    for (const auto& point : outline) {
        polygon << QPointF(point.x, point.y);
    }
    return polygon;
}

void DrawInnerGlow(QPainter& p, const QRectF& r, const QColor& colour, qreal radius) {
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 4; ++i) {
        QColor c = colour;
        c.setAlpha(90 - 20 * i);
        p.setPen(QPen(c, 1));
        const qreal inset = 0.5 + i;
        p.drawRoundedRect(r.adjusted(inset, inset, -inset, -inset), radius, radius);
    }
}

void DrawFace(QPainter& p, const QRectF& r, Look look, qreal radius) {
    using namespace palette;
    switch (look) {
    case Look::Normal:
        Fill(p, r, radius, Vertical(r, kFaceTop, kFaceBottom), kFaceEdge);
        TopHighlight(p, r, kFaceHighlight, radius);
        break;
    case Look::Over:
        Fill(p, r, radius, Vertical(r, kCyanFaceTop, kCyanFaceBottom), kCyan);
        DrawInnerGlow(p, r, kCyan, radius);
        break;
    case Look::Down:
        Fill(p, r, radius, Vertical(r, kPressedTop, kPressedBottom), kMagenta);
        DrawInnerGlow(p, r, kMagenta, radius);
        break;
    }
}

void DrawAccentFace(QPainter& p, const QRectF& r, Look look, qreal radius) {
    using namespace palette;
    switch (look) {
    case Look::Normal:
        Fill(p, r, radius, Vertical(r, QColor(14, 84, 101), QColor(9, 55, 68)),
             QColor(31, 170, 196));
        TopHighlight(p, r, QColor(40, 140, 160), radius);
        break;
    case Look::Over:
        Fill(p, r, radius, Vertical(r, QColor(12, 70, 86), QColor(8, 46, 58)), kCyan);
        DrawInnerGlow(p, r, kCyan, radius);
        break;
    case Look::Down:
        Fill(p, r, radius, Vertical(r, kMagentaFaceTop, kMagentaFaceBottom), kMagenta);
        DrawInnerGlow(p, r, kMagenta, radius);
        break;
    }
}

void DrawRecess(QPainter& p, const QRectF& r, const QColor& edge, qreal radius) {
    using namespace palette;
    Fill(p, r, radius, Vertical(r, QColor(10, 12, 18), kRecess), edge);
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.drawLine(QPointF(r.left() + radius, r.top() + 1.5),
               QPointF(r.right() - radius, r.top() + 1.5));
}

} // namespace xk::skingen
