#pragma once

#include <QColor>
#include <QProxyStyle>
#include <QSize>
#include <QString>

class QMenu;

namespace xk {

// The owner-drawn look of the program's menus (the event list's context menu and the tray
// menu): every item 8 pixels a character wide and 20 high (a separator 1 high), a dark teal
// face, white text 10 pixels in, and a blue-to-cyan gradient under the selected item.
class CNuvMenu final : public QProxyStyle {
    Q_OBJECT
public:
    CNuvMenu();

    static constexpr QColor kFace{0, 120, 153};
    static constexpr QColor kText{255, 255, 255};
    static constexpr QColor kGradientTop{0, 0, 255};
    static constexpr QColor kGradientBottom{0, 255, 255};

    // The size of an item of `text`; a separator has no text of its own.
    static QSize MeasureItem(const QString& text, bool separator);
    // The colour of gradient row `row` (0 at the top) of `rows` rows.
    static QColor GradientRow(int row, int rows);

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
};

// Draws `menu` and, depth first, all its submenus with `style`.
void MakeOwnerDrawn(QMenu& menu, QStyle& style);

} // namespace xk
