#include "SkinDrawing.h"

#include "Art.h"
#include "Palette.h"
#include "ui/layout/SkinPictureNames.h"

#include <QImageWriter>
#include <QLinearGradient>
#include <QPainterPath>

namespace xk::skingen {

namespace {

using namespace palette;
namespace names = skin_pictures;

QImage DrawPage(const SkinSources& s, const PageSource& page, Look look, const QColor& led) {
    QImage image(s.common.width, s.common.height, QImage::Format_RGB32);
    image.fill(kBackdrop);
    QPainter p(&image);
    DrawBody(p, s.common.outline);
    for (const PageSource* source : {&s.common, &page}) {
        for (const auto& d : source->decorations) {
            if (d.kind != "mouse") {
                DrawDecoration(p, d);
            }
        }
    }
    DrawLeaderLines(p, page, false);
    for (const auto& d : page.decorations) {
        if (d.kind == "mouse") {
            DrawDecoration(p, d);
        }
    }
    for (const SourceElement* e : s.PageElements(page)) {
        DrawElement(p, *e, look, led);
    }
    DrawLeaderLines(p, page, true);
    return image;
}

void Chevron(QPainter& p, const QPointF& c, const QColor& colour) {
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({c + QPointF(-2, -5), c + QPointF(3, 0), c + QPointF(-2, 5)}));
}

// A popup list: the rows stacked from the top, each with its own top line, and one more line
// below the last row that closes the frame.
QImage DrawPopup(const PageSource& menu, Look look) {
    const int rows = menu.rows;
    const int h = menu.height / rows;
    const int w = menu.width;
    QImage image(w, rows * h + 1, QImage::Format_RGB32);
    image.fill(kBackdrop);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < rows; ++i) {
        const QRectF band(0, i * h, w, h);
        QLinearGradient g(band.topLeft(), band.bottomLeft());
        QColor bar;
        switch (look) {
        case Look::Normal:
            g.setColorAt(0, QColor(28, 34, 48));
            g.setColorAt(1, QColor(21, 26, 37));
            break;
        case Look::Over:
            g.setColorAt(0, QColor(16, 46, 58));
            g.setColorAt(1, QColor(11, 32, 42));
            bar = kCyan;
            break;
        case Look::Down:
            g.setColorAt(0, QColor(54, 18, 68));
            g.setColorAt(1, QColor(38, 12, 48));
            bar = kMagenta;
            break;
        }
        p.fillRect(band, g);
        p.fillRect(QRectF(0, band.top(), w, 1), QColor(44, 53, 74));
        if (bar.isValid()) {
            p.fillRect(QRectF(1, band.top() + 3, 3, h - 5), bar);
            p.fillRect(QRectF(4, band.top() + 1, w - 5, h - 1), WithAlpha(bar, 18));
        }
        const int row = i + 1;
        if (std::find(menu.groups.begin(), menu.groups.end(), row) != menu.groups.end()) {
            const QColor colour = look == Look::Over   ? kCyan
                                  : look == Look::Down ? kMagenta
                                                       : kMuted;
            Chevron(p, QPointF(w - 14, band.center().y() + 0.5), colour);
        }
    }
    p.fillRect(QRectF(0, rows * h, w, 1), QColor(44, 53, 74));
    p.setPen(QPen(kFaceEdge, 1));
    p.drawLine(QPointF(0.5, 0), QPointF(0.5, rows * h + 1));
    p.drawLine(QPointF(w - 0.5, 0), QPointF(w - 0.5, rows * h + 1));
    return image;
}

QImage SolidMask(int width, int height) {
    QImage mask(width, height, QImage::Format_RGB32);
    mask.fill(Qt::black);
    return mask;
}

// A warning sign above the message.
void WarningSign(QPainter& p, const QPointF& c) {
    const QPolygonF triangle({c + QPointF(0, -13), c + QPointF(14, 11), c + QPointF(-14, 11)});
    p.setPen(QPen(QColor(255, 176, 32), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(60, 40, 10));
    p.drawPolygon(triangle);
    p.setPen(QPen(QColor(255, 200, 80), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(0, -5), c + QPointF(0, 3));
    p.drawPoint(c + QPointF(0, 7.5));
}

QImage DrawWarning(const SkinSources& s, Look look) {
    const PageSource& w = s.warning;
    QImage image(w.width, w.height, QImage::Format_RGB32);
    image.fill(kBackdrop);
    QPainter p(&image);
    DrawBody(p, w.outline);
    p.setRenderHint(QPainter::Antialiasing);
    const SourceElement* message = w.Find(2);
    WarningSign(p, QPointF(w.width / 2.0, message->position.y / 2.0 + 2));
    for (const auto& e : w.elements) {
        DrawElement(p, e, look, kLedUnlit);
    }
    return image;
}

} // namespace

std::vector<Picture> DrawSkinPictures(const SkinSources& s) {
    std::vector<Picture> out;
    auto add = [&](std::string_view name, QImage image, bool mask = false) {
        out.push_back({std::string(name), std::move(image), mask});
    };
    add(names::kMainMask, DrawMask(s.common.width, s.common.height, s.common.outline), true);
    add(names::kMainNormal, DrawPage(s, s.main, Look::Normal, kLedPink));
    add(names::kMainOver, DrawPage(s, s.main, Look::Over, kLedPink));
    add(names::kMainDown, DrawPage(s, s.main, Look::Down, kLedPink));
    add(names::kAdvancedNormal, DrawPage(s, s.macro, Look::Normal, kLedPink));
    add(names::kAdvancedOver, DrawPage(s, s.macro, Look::Over, kLedPink));
    add(names::kAdvancedDown, DrawPage(s, s.macro, Look::Down, kLedPink));
    add(names::kColorNormal, DrawPage(s, s.light, Look::Normal, kLedPink));
    add(names::kColorOver, DrawPage(s, s.light, Look::Over, kLedRed));
    add(names::kColorDown, DrawPage(s, s.light, Look::Down, kLedPurple));
    add(names::kColorBlue, DrawPage(s, s.light, Look::Normal, kLedBlue));
    add(names::kColorGray, DrawPage(s, s.light, Look::Normal, kLedUnlit));
    add(names::kMenuMask, SolidMask(s.menu.width, s.menu.height), true);
    add(names::kMenuNormal, DrawPopup(s.menu, Look::Normal));
    add(names::kMenuOver, DrawPopup(s.menu, Look::Over));
    add(names::kMenuDown, DrawPopup(s.menu, Look::Down));
    add(names::kSubMenuMask, SolidMask(s.submenu.width, s.submenu.height), true);
    add(names::kSubMenuNormal, DrawPopup(s.submenu, Look::Normal));
    add(names::kSubMenuOver, DrawPopup(s.submenu, Look::Over));
    add(names::kSubMenuDown, DrawPopup(s.submenu, Look::Down));
    add(names::kWarningMask, DrawMask(s.warning.width, s.warning.height, s.warning.outline), true);
    add(names::kWarningNormal, DrawWarning(s, Look::Normal));
    add(names::kWarningOver, DrawWarning(s, Look::Over));
    return out;
}

void WritePictures(const std::vector<Picture>& pictures, const std::filesystem::path& skinsDir) {
    std::filesystem::create_directories(skinsDir);
    for (const auto& picture : pictures) {
        const auto path = skinsDir / picture.name;
        auto temp = path;
        temp += ".new";
        QImageWriter writer(QString::fromStdString(temp.string()), "jpeg");
        writer.setQuality(picture.mask ? 100 : 94);
        if (!writer.write(picture.image)) {
            throw SourceError(path.string() + ": " + writer.errorString().toStdString());
        }
        std::filesystem::rename(temp, path);
    }
}

} // namespace xk::skingen
