#include "ui/PopupPicture.h"

#include "ui/Canvas.h"
#include "ui/CentredText.h"

#include <QPainter>

namespace xk {
namespace {

const QColor kTextColour(255, 255, 255);
const QColor kHotTextColour(255, 0, 0);

} // namespace

QImage ComposeRowList(const PagePictures& pictures, const RowList& list, const QFont& font,
                      const std::function<QString(int32_t)>& textOfRow, qreal devicePixelRatio) {
    QImage buffer = Canvas(list.size.expandedTo(QSize(1, 1)), devicePixelRatio);
    QPainter p(&buffer);
    UseCanvasHints(p);
    p.drawImage(0, 0, pictures.normal);
    const QImage& band = list.pressed ? pictures.down : pictures.over;
    if (list.hotRow >= 1 && !band.isNull()) { // a row outside the picture copies nothing
        const QRect rect(0, (list.hotRow - 1) * list.rowHeight, list.size.width(), list.rowHeight);
        p.drawImage(rect.topLeft(), band, rect);
    }
    p.setFont(font);
    p.setBackgroundMode(Qt::TransparentMode);
    for (int32_t i = 1; i <= list.rows; ++i) {
        const Element row{0, (i - 1) * list.rowHeight, list.size.width(), list.rowHeight};
        DrawCentredText(p, row, textOfRow(i), i == list.hotRow ? kHotTextColour : kTextColour);
    }
    return buffer;
}

} // namespace xk
