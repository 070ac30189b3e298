#include "Art.h"
#include "Palette.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace xk::skingen {

namespace {

using namespace palette;

QPainterPath MouseOutline(const QRectF& r) {
    const qreal w = r.width();
    const qreal h = r.height();
    const qreal cx = r.center().x();
    QPainterPath path;
    path.moveTo(cx, r.top());
    path.cubicTo(QPointF(cx + w * 0.34, r.top()), QPointF(r.right() - w * 0.06, r.top() + h * 0.12),
                 QPointF(r.right() - w * 0.04, r.top() + h * 0.36));
    path.cubicTo(QPointF(r.right(), r.top() + h * 0.55), QPointF(r.right(), r.top() + h * 0.78),
                 QPointF(r.right() - w * 0.10, r.top() + h * 0.92));
    path.cubicTo(QPointF(r.right() - w * 0.22, r.bottom()), QPointF(cx + w * 0.12, r.bottom()),
                 QPointF(cx, r.bottom()));
    path.cubicTo(QPointF(cx - w * 0.12, r.bottom()), QPointF(r.left() + w * 0.22, r.bottom()),
                 QPointF(r.left() + w * 0.10, r.top() + h * 0.92));
    path.cubicTo(QPointF(r.left(), r.top() + h * 0.78), QPointF(r.left(), r.top() + h * 0.55),
                 QPointF(r.left() + w * 0.04, r.top() + h * 0.36));
    path.cubicTo(QPointF(r.left() + w * 0.06, r.top() + h * 0.12), QPointF(cx - w * 0.34, r.top()),
                 QPointF(cx, r.top()));
    path.closeSubpath();
    return path;
}

// Fine diagonal lines over the body: a carbon-like texture.
void Texture(QPainter& p, const QRectF& r) {
    p.setPen(QPen(QColor(255, 255, 255, 7), 1));
    for (qreal x = r.left() - r.height(); x < r.right(); x += 7) {
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    }
}

} // namespace

void DrawMouseTop(QPainter& p, const QRectF& r, const QColor& body, const QColor& edge) {
    const QPainterPath outline = MouseOutline(r);
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, body.darker(115));
    g.setColorAt(0.5, body.lighter(125));
    g.setColorAt(1, body.darker(115));
    p.setPen(QPen(edge, 1.5));
    p.setBrush(g);
    p.drawPath(outline);
    // The seam between the two main buttons, down to the palm rest.
    p.setPen(QPen(edge.darker(130), 1));
    p.drawLine(QPointF(r.center().x(), r.top() + 2),
               QPointF(r.center().x(), r.top() + r.height() * 0.40));
    QPainterPath palm;
    palm.moveTo(r.left() + r.width() * 0.05, r.top() + r.height() * 0.42);
    palm.quadTo(QPointF(r.center().x(), r.top() + r.height() * 0.47),
                QPointF(r.right() - r.width() * 0.05, r.top() + r.height() * 0.42));
    p.setBrush(Qt::NoBrush);
    p.drawPath(palm);
}

void DrawBody(QPainter& p, const std::vector<Point>& outline) {
    const QPolygonF polygon = PolygonOf(outline);
    const QRectF bounds = polygon.boundingRect();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(bounds.topLeft(), bounds.bottomLeft());
    g.setColorAt(0, kBodyTop);
    g.setColorAt(1, kBodyBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPolygon(polygon);
    QPainterPath clip;
    clip.addPolygon(polygon);
    p.setClipPath(clip);
    Texture(p, bounds);
    p.setClipping(false);
    // A fine lighter edge, with cyan accents along the longer chamfers.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kEdge, 2));
    p.drawPolygon(polygon);
    p.setPen(QPen(WithAlpha(kCyan, 170), 2, Qt::SolidLine, Qt::RoundCap));
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPointF a = polygon[i];
        const QPointF b = polygon[(i + 1) % polygon.size()];
        if (a.x() != b.x() && a.y() != b.y() && QLineF(a, b).length() > 24) {
            const QPointF inset = (QLineF(a, b).normalVector().unitVector().p2() - a) * 1.5;
            p.drawLine(a - inset, b - inset);
        }
    }
    p.restore();
}

void DrawDecoration(QPainter& p, const Decoration& d) {
    const QRectF r = RectOf(d.position);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (d.kind == "panel") {
        p.setPen(QPen(kPanelEdge, 1));
        p.setBrush(WithAlpha(kPanel, 235));
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.setPen(QPen(WithAlpha(kPanelHighlight, 160), 1));
        p.drawLine(QPointF(r.left() + 8, r.top() + 1.5), QPointF(r.right() - 8, r.top() + 1.5));
    } else if (d.kind == "band") {
        p.fillRect(r, WithAlpha(kBand, 200));
        p.setPen(QPen(kPanelEdge, 1));
        const bool top = r.top() < 100;
        const qreal y = top ? r.bottom() - 0.5 : r.top() + 0.5;
        p.drawLine(QPointF(r.left() + 10, y), QPointF(r.right() - 10, y));
        p.setPen(QPen(WithAlpha(kCyan, 120), 2));
        p.drawLine(QPointF(r.center().x() - 60, y), QPointF(r.center().x() + 60, y));
    } else if (d.kind == "mouse") {
        DrawMouseTop(p, r, QColor(29, 35, 50), QColor(66, 78, 106));
    }
    p.restore();
}

void DrawLeaderLines(QPainter& p, const PageSource& page, bool ends) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    for (int32_t b = 0; b < 8; ++b) {
        const SourceElement* slot = page.Find(25 + b);
        const SourceElement* part = page.Find(115 + b);
        if (slot == nullptr || part == nullptr || part->position.width == 0) {
            continue;
        }
        const QRectF s = RectOf(slot->position);
        const QRectF t = RectOf(part->position);
        const bool leftOfPart = s.center().x() < t.center().x();
        const QPointF start(leftOfPart ? s.right() + 3 : s.left() - 3, s.center().y());
        const QPointF end = t.center();
        if (ends) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(150, 220, 235));
            p.drawEllipse(end, 2.2, 2.2);
            continue;
        }
        const qreal elbow = start.x() + (leftOfPart ? 6 : -6);
        p.setPen(QPen(QColor(60, 72, 98), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({start, QPointF(elbow, start.y()), end}));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 84, 114));
        p.drawEllipse(start, 2.0, 2.0);
    }
    p.restore();
}

QImage DrawMask(int width, int height, const std::vector<Point>& outline) {
    QImage mask(width, height, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(PolygonOf(outline));
    return mask;
}

} // namespace xk::skingen
