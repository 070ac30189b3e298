#include "Art.h"
#include "Palette.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>
#include <map>

namespace xk::skingen {

namespace {

using namespace palette;

QColor GlyphColour(Look look) {
    switch (look) {
    case Look::Over:
        return kCyan;
    case Look::Down:
        return kMagenta;
    case Look::Normal:
        break;
    }
    return QColor(150, 160, 182);
}

void Button(QPainter& p, const QRectF& r, Look look) {
    DrawFace(p, r, look, 4);
}

void Accent(QPainter& p, const QRectF& r, Look look) {
    DrawAccentFace(p, r, look, 4);
}

// Page tab: chamfered top corners; the shown page's tab is lifted with a magenta base line.
void Tab(QPainter& p, const QRectF& r, Look look) {
    QPainterPath path;
    const qreal c = 10;
    path.moveTo(r.left() + 0.5, r.bottom());
    path.lineTo(r.left() + 0.5, r.top() + c);
    path.lineTo(r.left() + c, r.top() + 0.5);
    path.lineTo(r.right() - c, r.top() + 0.5);
    path.lineTo(r.right() - 0.5, r.top() + c);
    path.lineTo(r.right() - 0.5, r.bottom());
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    const QColor top = look == Look::Down   ? QColor(44, 53, 74)
                       : look == Look::Over ? kCyanFaceTop
                                            : QColor(30, 36, 51);
    g.setColorAt(0, top);
    g.setColorAt(1, look == Look::Down ? QColor(33, 40, 57) : QColor(22, 27, 39));
    p.setBrush(g);
    p.setPen(QPen(look == Look::Over ? WithAlpha(kCyan, 200) : kFaceEdge, 1));
    p.drawPath(path);
    if (look != Look::Normal) {
        const QColor line = look == Look::Over ? kCyan : kMagenta;
        p.fillRect(QRectF(r.left() + 1, r.bottom() - 3, r.width() - 2, 3), line);
        p.fillRect(QRectF(r.left() + 1, r.bottom() - 7, r.width() - 2, 4), WithAlpha(line, 50));
    }
}

// Configuration list item: a status bar on the left, lit magenta when it is the active one.
void Config(QPainter& p, const QRectF& r, Look look) {
    const QRectF bar(r.left() + 7, r.top() + 7, 4, r.height() - 14);
    if (look == Look::Down) {
        p.setPen(QPen(QColor(70, 82, 112), 1));
        QLinearGradient g(r.topLeft(), r.topRight());
        g.setColorAt(0, QColor(70, 24, 86));
        g.setColorAt(0.5, QColor(42, 46, 66));
        g.setColorAt(1, QColor(36, 42, 60));
        p.setBrush(g);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        p.fillRect(bar.adjusted(-2, -2, 2, 2), WithAlpha(kMagenta, 70));
        p.fillRect(bar, kMagenta);
        return;
    }
    DrawFace(p, r, look, 4);
    p.fillRect(bar, look == Look::Over ? kCyan : QColor(52, 62, 84));
}

void Lang(QPainter& p, const QRectF& r, Look look) {
    const qreal radius = r.height() / 2;
    if (look == Look::Down) {
        p.setPen(QPen(kMagenta, 1));
        p.setBrush(kMagentaDeep);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
        return;
    }
    DrawFace(p, r, look, radius);
}

void WindowGlyphBack(QPainter& p, const QRectF& r, Look look, const QColor& over) {
    if (look == Look::Normal) {
        return;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(look == Look::Over ? over : kMagentaFaceBottom);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 4, 4);
}

void Minimize(QPainter& p, const QRectF& r, Look look) {
    WindowGlyphBack(p, r, look, QColor(30, 52, 66));
    const QPointF c = r.center();
    p.setPen(QPen(GlyphColour(look), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - 5, c.y() + 3), QPointF(c.x() + 5, c.y() + 3));
}

void Close(QPainter& p, const QRectF& r, Look look) {
    WindowGlyphBack(p, r, look, QColor(92, 28, 42));
    const QPointF c = r.center();
    p.setPen(QPen(look == Look::Over ? QColor(255, 120, 140) : GlyphColour(look), 2, Qt::SolidLine,
                  Qt::RoundCap));
    p.drawLine(QPointF(c.x() - 5, c.y() - 5), QPointF(c.x() + 5, c.y() + 5));
    p.drawLine(QPointF(c.x() - 5, c.y() + 5), QPointF(c.x() + 5, c.y() - 5));
}

// Title plate in the raised tab of the outline.
void Title(QPainter& p, const QRectF& r, Look look) {
    QPainterPath path;
    const qreal c = 8;
    path.moveTo(r.left() + c, r.top() + 0.5);
    path.lineTo(r.right() - c, r.top() + 0.5);
    path.lineTo(r.right() - 0.5, r.top() + c);
    path.lineTo(r.right() - 0.5, r.bottom() - c);
    path.lineTo(r.right() - c, r.bottom() - 0.5);
    path.lineTo(r.left() + c, r.bottom() - 0.5);
    path.lineTo(r.left() + 0.5, r.bottom() - c);
    path.lineTo(r.left() + 0.5, r.top() + c);
    path.closeSubpath();
    p.setBrush(QColor(15, 18, 27));
    p.setPen(QPen(look == Look::Normal ? kPanelEdge : WithAlpha(kCyan, 160), 1));
    p.drawPath(path);
    const QColor accent = look == Look::Normal ? WithAlpha(kCyan, 150) : kCyan;
    const qreal w = look == Look::Normal ? 40 : 80;
    p.fillRect(QRectF(r.center().x() - w / 2, r.bottom() - 3, w, 2), accent);
}

// The brand emblem: a hexagon holding two chevrons.
void Emblem(QPainter& p, const QRectF& r, Look look) {
    const QPointF c = r.center();
    const qreal radius = std::min(r.width(), r.height()) / 2 - 2;
    QPolygonF hexagon;
    for (int i = 0; i < 6; ++i) {
        const double angle = M_PI / 3 * i + M_PI / 6;
        hexagon << QPointF(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
    }
    const QColor line = look == Look::Normal ? QColor(34, 150, 172) : GlyphColour(look);
    if (look != Look::Normal) {
        QRadialGradient halo(c, radius + 2);
        halo.setColorAt(0, WithAlpha(line, 90));
        halo.setColorAt(1, WithAlpha(line, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(c, radius + 2, radius + 2);
    }
    p.setBrush(QColor(15, 20, 30));
    p.setPen(QPen(line, 2));
    p.drawPolygon(hexagon);
    p.setPen(QPen(line, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal s = radius * 0.42;
    p.drawPolyline(QPolygonF({QPointF(c.x() - s * 1.3, c.y() - s), QPointF(c.x() - s * 0.2, c.y()),
                              QPointF(c.x() - s * 1.3, c.y() + s)}));
    p.drawPolyline(QPolygonF({QPointF(c.x() + s * 1.3, c.y() - s), QPointF(c.x() + s * 0.2, c.y()),
                              QPointF(c.x() + s * 1.3, c.y() + s)}));
}

// Section heading: a base line with an accent in the middle, under the centred caption.
void Heading(QPainter& p, const QRectF& r, Look look) {
    const qreal y = r.bottom() - 1.5;
    p.setPen(QPen(kPanelEdge, 1));
    p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    const qreal w = look == Look::Normal ? 36 : 72;
    p.fillRect(QRectF(r.center().x() - w / 2, r.bottom() - 2, w, 2),
               look == Look::Normal ? WithAlpha(kCyan, 170) : kCyan);
}

void Tag(QPainter& p, const QRectF& r, Look look) {
    p.setPen(QPen(look == Look::Normal ? kPanelEdge : WithAlpha(kCyan, 150), 1));
    p.setBrush(QColor(17, 21, 31));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.fillRect(QRectF(r.left() + 1, r.top() + 6, 2, r.height() - 12),
               look == Look::Normal ? WithAlpha(kCyan, 110) : kCyan);
}

// Button slot: a recessed field with a drop-down chevron; the name is drawn 5 px in.
void Slot(QPainter& p, const QRectF& r, Look look) {
    const QColor edge = look == Look::Over ? kCyan : look == Look::Down ? kMagenta : kRecessEdge;
    DrawRecess(p, r, edge, 3);
    if (look != Look::Normal) {
        DrawInnerGlow(p, r, edge, 3);
    }
    const qreal cx = r.right() - 14;
    const qreal cy = r.center().y();
    p.setPen(QPen(GlyphColour(look), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(
        QPolygonF({QPointF(cx - 4, cy - 2), QPointF(cx, cy + 2), QPointF(cx + 4, cy - 2)}));
}

// Enable switch: off (knob left) in the normal picture, on (knob right, lit) in the down one.
void Switch(QPainter& p, const QRectF& r, Look look) {
    const QRectF track = r.adjusted(3, 5, -3, -5);
    const qreal radius = track.height() / 2;
    const bool on = look == Look::Down;
    p.setPen(QPen(on ? kMagenta : look == Look::Over ? kCyan : kFaceEdge, 1));
    p.setBrush(on ? kMagentaDeep : kRecess);
    p.drawRoundedRect(track.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    const qreal knob = radius - 2.5;
    const QPointF centre(on ? track.right() - radius : track.left() + radius, track.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(on                   ? QColor(250, 215, 255)
               : look == Look::Over ? QColor(150, 220, 235)
                                    : QColor(96, 106, 128));
    p.drawEllipse(centre, knob, knob);
}

// DPI level button: a ring in the level's colour, lit when it is the active level.
void Level(QPainter& p, const QRectF& r, Look look, int level) {
    const QColor colour = kLevelColours[level & 3];
    const QPointF c = r.center();
    const qreal radius = std::min(r.width(), r.height()) / 2 - 2;
    if (look == Look::Down) {
        QRadialGradient halo(c, radius + 2);
        halo.setColorAt(0, WithAlpha(colour.lighter(150), 220));
        halo.setColorAt(0.6, WithAlpha(colour, 160));
        halo.setColorAt(1, WithAlpha(colour, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(c, radius + 2, radius + 2);
    }
    p.setPen(QPen(look == Look::Over   ? kCyan
                  : look == Look::Down ? QColor(255, 255, 255, 200)
                                       : kFaceEdge,
                  1.5));
    p.setBrush(look == Look::Down ? WithAlpha(colour, 120) : kRecess);
    p.drawEllipse(c, radius - 1, radius - 1);
    p.setPen(Qt::NoPen);
    p.setBrush(look == Look::Down ? QColor(255, 255, 255) : WithAlpha(colour.lighter(130), 150));
    p.drawEllipse(c, 3.0, 3.0);
}

// DPI bar cell. The program fills (x + 1, y + 1, width - 2, height - 1) in the level's colour.
void Segment(QPainter& p, const QRectF& r, Look look) {
    p.fillRect(r, look == Look::Down ? QColor(58, 40, 74) : kRecess);
    const QColor edge = look == Look::Over ? kCyan : look == Look::Down ? kMagenta : kRecessEdge;
    p.setPen(QPen(edge, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

// One half of a two-way choice; the chosen one shows down.
void Choice(QPainter& p, const QRectF& r, Look look) {
    if (look == Look::Down) {
        p.setPen(QPen(kMagenta, 1));
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(96, 28, 116));
        g.setColorAt(1, kMagentaFaceBottom);
        p.setBrush(g);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        return;
    }
    DrawFace(p, r, look, 4);
}

void Mark(QPainter& p, const QRectF& r, Look look) {
    const QPointF c = r.center();
    const qreal s = std::min(r.width(), r.height()) / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(look == Look::Normal ? QColor(58, 70, 96) : kCyan);
    p.drawPolygon(QPolygonF({QPointF(c.x(), c.y() - s), QPointF(c.x() + s, c.y()),
                             QPointF(c.x(), c.y() + s), QPointF(c.x() - s, c.y())}));
}

// Four level LEDs in a recessed strip.
void Indicator(QPainter& p, const QRectF& r, Look look) {
    DrawRecess(p, r, look == Look::Normal ? kRecessEdge : kCyan, 4);
    const qreal step = r.width() / 4;
    for (int i = 0; i < 4; ++i) {
        const QPointF c(r.left() + step * (i + 0.5), r.center().y());
        QRadialGradient g(c, 9);
        const QColor colour = kLevelColours[i];
        g.setColorAt(0, WithAlpha(colour.lighter(160), look == Look::Normal ? 150 : 255));
        g.setColorAt(0.5, WithAlpha(colour, look == Look::Normal ? 90 : 200));
        g.setColorAt(1, WithAlpha(colour, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, 9.0, 9.0);
    }
}

// A well for a real control (black, white text): a calm frame just outside the rectangle.
void Well(QPainter& p, const QRectF& r, Look) {
    p.setPen(QPen(kPanelEdge, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(-2.5, -2.5, 2.5, 2.5), 3, 3);
    p.fillRect(r, Qt::black);
}

void Value(QPainter& p, const QRectF& r, Look look) {
    DrawRecess(p, r, look == Look::Normal ? kRecessEdge : WithAlpha(kCyan, 180), 3);
}

void Record(QPainter& p, const QRectF& r, Look look) {
    DrawFace(p, r, look, 4);
    const QPointF c(r.left() + 16, r.center().y());
    if (look == Look::Down) {
        QRadialGradient halo(c, 10);
        halo.setColorAt(0, WithAlpha(kRecordRed, 200));
        halo.setColorAt(1, WithAlpha(kRecordRed, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(c, 10.0, 10.0);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(look == Look::Normal ? QColor(150, 34, 44) : kRecordRed);
    p.drawEllipse(c, 4.5, 4.5);
}

// On/off button: an LED square on the left, lit magenta when on.
void Toggle(QPainter& p, const QRectF& r, Look look) {
    DrawFace(p, r, look, 4);
    const QRectF led(r.left() + 9, r.center().y() - 4, 8, 8);
    if (look == Look::Down) {
        p.fillRect(led.adjusted(-3, -3, 3, 3), WithAlpha(kMagenta, 70));
    }
    p.fillRect(led, look == Look::Down   ? QColor(245, 160, 255)
                    : look == Look::Over ? WithAlpha(kCyan, 200)
                                         : QColor(50, 58, 78));
}

void Step(QPainter& p, const QRectF& r, Look look) {
    if (look == Look::Down) {
        p.setPen(QPen(QColor(240, 171, 252), 1));
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(150, 36, 170));
        g.setColorAt(1, QColor(92, 22, 110));
        p.setBrush(g);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        return;
    }
    DrawFace(p, r, look, 3);
}

// Fire-time bar: an empty track; the down picture holds the full bar, of which the program
// copies the part that the fire time fills.
void Bar(QPainter& p, const QRectF& r, Look look) {
    if (look == Look::Down) {
        QLinearGradient g(r.topLeft(), r.topRight());
        g.setColorAt(0, QColor(120, 24, 150));
        g.setColorAt(0.55, QColor(200, 60, 230));
        g.setColorAt(1, QColor(60, 200, 235));
        p.setPen(QPen(QColor(240, 171, 252), 1));
        p.setBrush(g);
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        return;
    }
    DrawRecess(p, r, look == Look::Over ? kCyan : kRecessEdge, 0);
    p.setPen(QPen(QColor(44, 53, 73), 1));
    for (int i = 1; i < 10; ++i) {
        const qreal x = std::floor(r.left() + r.width() * i / 10) + 0.5;
        p.drawLine(QPointF(x, r.bottom() - 7), QPointF(x, r.bottom() - 3));
    }
}

void PlusMinus(QPainter& p, const QRectF& r, Look look, bool plus) {
    DrawFace(p, r, look, 4);
    const QPointF c = r.center();
    p.setPen(QPen(look == Look::Normal ? QColor(200, 208, 224) : GlyphColour(look), 2,
                  Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - 6, c.y()), QPointF(c.x() + 6, c.y()));
    if (plus) {
        p.drawLine(QPointF(c.x(), c.y() - 6), QPointF(c.x(), c.y() + 6));
    }
}

// Light mode: a mode button with an icon of its light pattern.
void Mode(QPainter& p, const QRectF& r, Look look, int mode) {
    Config(p, r, look);
    const QColor colour = GlyphColour(look);
    const QRectF icon(r.left() + 20, r.center().y() - 8, 28, 16);
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (mode == 0 || mode == 1) {
        const int cycles = mode == 0 ? 1 : 3;
        QPainterPath wave;
        for (int i = 0; i <= 56; ++i) {
            const double t = i / 56.0;
            const QPointF pt(icon.left() + icon.width() * t,
                             icon.center().y() - 6 * std::sin(2 * M_PI * cycles * t));
            i == 0 ? wave.moveTo(pt) : wave.lineTo(pt);
        }
        p.drawPath(wave);
    } else if (mode == 2) {
        p.setBrush(WithAlpha(colour, 110));
        p.drawEllipse(icon.center(), 6.0, 6.0);
    } else {
        p.drawEllipse(icon.center(), 6.0, 6.0);
        p.drawLine(icon.center() + QPointF(-5, 5), icon.center() + QPointF(5, -5));
    }
}

// The four DPI level colours on a line.
void Legend(QPainter& p, const QRectF& r, Look look) {
    DrawRecess(p, r, look == Look::Normal ? kRecessEdge : kCyan, 4);
    const qreal step = r.width() / 4;
    p.setPen(QPen(kPanelEdge, 1));
    p.drawLine(QPointF(r.left() + step / 2, r.center().y()),
               QPointF(r.right() - step / 2, r.center().y()));
    for (int i = 0; i < 4; ++i) {
        const QPointF c(r.left() + step * (i + 0.5), r.center().y());
        if (look != Look::Normal) {
            QRadialGradient g(c, 12);
            g.setColorAt(0, WithAlpha(kLevelColours[i], 160));
            g.setColorAt(1, WithAlpha(kLevelColours[i], 0));
            p.setPen(Qt::NoPen);
            p.setBrush(g);
            p.drawEllipse(c, 12.0, 12.0);
        }
        p.setPen(QPen(QColor(255, 255, 255, 90), 1));
        p.setBrush(kLevelColours[i]);
        p.drawEllipse(c, 6.0, 6.0);
    }
}

// LED preview: the mouse seen from above, its light strip and logo in the picture's colour.
void Led(QPainter& p, const QRectF& r, const QColor& led) {
    DrawRecess(p, r, kRecessEdge, 8);
    const bool lit = led != kLedUnlit;
    const QPointF c = r.center();
    if (lit) {
        QRadialGradient halo(c, r.width() * 0.48);
        halo.setColorAt(0, WithAlpha(led, 120));
        halo.setColorAt(0.55, WithAlpha(led, 40));
        halo.setColorAt(1, WithAlpha(led, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(c, r.width() * 0.48, r.height() * 0.48);
    }
    const QRectF mouse(c.x() - r.width() * 0.22, r.top() + r.height() * 0.12, r.width() * 0.44,
                       r.height() * 0.76);
    DrawMouseTop(p, mouse, QColor(24, 29, 41), QColor(70, 82, 110));
    // Light strip around the back and the logo.
    QPainterPath strip;
    strip.moveTo(mouse.left() + mouse.width() * 0.12, mouse.top() + mouse.height() * 0.62);
    strip.cubicTo(
        QPointF(mouse.left() + mouse.width() * 0.10, mouse.bottom() - 4),
        QPointF(mouse.right() - mouse.width() * 0.10, mouse.bottom() - 4),
        QPointF(mouse.right() - mouse.width() * 0.12, mouse.top() + mouse.height() * 0.62));
    p.setBrush(Qt::NoBrush);
    if (lit) {
        p.setPen(QPen(WithAlpha(led, 90), 9, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(strip);
    }
    p.setPen(QPen(lit ? led.lighter(130) : QColor(80, 85, 96), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(strip);
    const QPointF logo(c.x(), mouse.top() + mouse.height() * 0.66);
    if (lit) {
        QRadialGradient g(logo, 20);
        g.setColorAt(0, WithAlpha(led.lighter(140), 230));
        g.setColorAt(1, WithAlpha(led, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(logo, 20.0, 20.0);
    }
    p.setPen(QPen(lit ? QColor(255, 255, 255, 230) : QColor(90, 95, 106), 2.2, Qt::SolidLine,
                  Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(
        QPolygonF({logo + QPointF(-9, -6), logo + QPointF(-2, 0), logo + QPointF(-9, 6)}));
    p.drawPolyline(QPolygonF({logo + QPointF(9, -6), logo + QPointF(2, 0), logo + QPointF(9, 6)}));
}

// Buttons of the mouse drawing on the main page: lit cyan in the over picture.
void MousePart(QPainter& p, const QRectF& r, Look look, const std::string& role) {
    const bool lit = look == Look::Over;
    const QColor fill = lit ? QColor(20, 110, 132) : QColor(35, 42, 58);
    const QColor edge = lit ? QColor(120, 240, 255) : QColor(66, 78, 106);
    p.setPen(QPen(edge, 1.2));
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, fill.lighter(125));
    g.setColorAt(1, fill);
    p.setBrush(g);
    const QRectF inner = r.adjusted(1, 1, -1, -1);
    if (role == "mleft" || role == "mright") {
        const bool left = role == "mleft";
        QPainterPath path;
        const qreal round = inner.width() * 0.9;
        if (left) {
            path.moveTo(inner.right(), inner.top());
            path.lineTo(inner.right(), inner.bottom());
            path.lineTo(inner.left(), inner.bottom() - 6);
            path.lineTo(inner.left(), inner.top() + round * 0.55);
            path.quadTo(inner.left(), inner.top(), inner.right(), inner.top());
        } else {
            path.moveTo(inner.left(), inner.top());
            path.lineTo(inner.left(), inner.bottom());
            path.lineTo(inner.right(), inner.bottom() - 6);
            path.lineTo(inner.right(), inner.top() + round * 0.55);
            path.quadTo(inner.right(), inner.top(), inner.left(), inner.top());
        }
        p.drawPath(path);
    } else if (role == "mwheel") {
        p.drawRoundedRect(inner, inner.width() / 2, inner.width() / 2);
        p.setPen(QPen(lit ? QColor(180, 250, 255) : QColor(80, 92, 120), 1));
        for (qreal y = inner.top() + 5; y < inner.bottom() - 3; y += 4) {
            p.drawLine(QPointF(inner.left() + 2, y), QPointF(inner.right() - 2, y));
        }
    } else {
        const qreal radius = std::min(inner.width(), inner.height()) / 2;
        p.drawRoundedRect(inner, radius, radius);
    }
}

using Painter =
    std::function<void(QPainter&, const SourceElement&, const QRectF&, Look, const QColor&)>;

const std::map<std::string, Painter>& Painters() {
    static const std::map<std::string, Painter> painters = [] {
        std::map<std::string, Painter> m;
        auto simple = [](void (*f)(QPainter&, const QRectF&, Look)) -> Painter {
            return [f](QPainter& p, const SourceElement&, const QRectF& r, Look look,
                       const QColor&) { f(p, r, look); };
        };
        auto nothing = [](QPainter&, const SourceElement&, const QRectF&, Look, const QColor&) {};
        m["button"] = simple(Button);
        m["accent"] = simple(Accent);
        m["tab"] = simple(Tab);
        m["config"] = simple(Config);
        m["lang"] = simple(Lang);
        m["minimize"] = simple(Minimize);
        m["close"] = simple(Close);
        m["title"] = simple(Title);
        m["emblem"] = simple(Emblem);
        m["heading"] = simple(Heading);
        m["label"] = nothing;
        m["message"] = nothing;
        m["none"] = nothing;
        m["tag"] = simple(Tag);
        m["slot"] = simple(Slot);
        m["switch"] = simple(Switch);
        m["segment"] = simple(Segment);
        m["choice"] = simple(Choice);
        m["mark"] = simple(Mark);
        m["indicator"] = simple(Indicator);
        m["well"] = simple(Well);
        m["value"] = simple(Value);
        m["record"] = simple(Record);
        m["toggle"] = simple(Toggle);
        m["step"] = simple(Step);
        m["bar"] = simple(Bar);
        m["legend"] = simple(Legend);
        m["plus"] = [](QPainter& p, const SourceElement&, const QRectF& r, Look look,
                       const QColor&) { PlusMinus(p, r, look, true); };
        m["minus"] = [](QPainter& p, const SourceElement&, const QRectF& r, Look look,
                        const QColor&) { PlusMinus(p, r, look, false); };
        m["level"] = [](QPainter& p, const SourceElement& e, const QRectF& r, Look look,
                        const QColor&) { Level(p, r, look, e.row - 54); };
        m["mode"] = [](QPainter& p, const SourceElement& e, const QRectF& r, Look look,
                       const QColor&) { Mode(p, r, look, e.row); };
        m["led"] = [](QPainter& p, const SourceElement&, const QRectF& r, Look, const QColor& led) {
            Led(p, r, led);
        };
        for (const char* part : {"mleft", "mright", "mwheel", "mside", "mtop"}) {
            m[part] = [](QPainter& p, const SourceElement& e, const QRectF& r, Look look,
                         const QColor&) { MousePart(p, r, look, e.role); };
        }
        return m;
    }();
    return painters;
}

} // namespace

bool IsKnownRole(const std::string& role) {
    return Painters().count(role) != 0;
}

void DrawElement(QPainter& p, const SourceElement& e, Look look, const QColor& led) {
    const auto it = Painters().find(e.role);
    if (it == Painters().end()) {
        throw SourceError("no look for the role '" + e.role + "' (row " + std::to_string(e.row) +
                          ")");
    }
    const QRectF r = RectOf(e.position);
    if (r.isEmpty()) {
        return;
    }
    p.save();
    p.setClipRect(r);
    p.setRenderHint(QPainter::Antialiasing);
    it->second(p, e, r, look, led);
    p.restore();
}

} // namespace xk::skingen
