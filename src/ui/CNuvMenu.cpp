#include "ui/CNuvMenu.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace xk {
namespace {

constexpr int kCharacterWidth = 8;
constexpr int kItemHeight = 20;
constexpr int kSeparatorHeight = 1;
constexpr int kTextIndent = 10;
constexpr int kSeparatorIndent = 25;
constexpr int kArrowWidth = 8;
constexpr int kMenuCharacters = 2;
constexpr QColor kSeparatorTopLeft{255, 0, 0};
constexpr QColor kSeparatorBottomRight{0, 0, 255};
constexpr QColor kMenuBorder{0, 60, 77};

// Each channel steps by (end - start) / rows, truncated, and keeps its low 8 bits.
int Channel(int start, int end, int row, int rows) {
    const int step = static_cast<int>(static_cast<double>(end - start) / rows);
    return (start + step * row) & 0xFF;
}

void DrawSeparator(QPainter& p, QRect r) {
    r.setLeft(r.left() + kSeparatorIndent);
    // A three-dimensional frame: top and left edges red, bottom and right edges blue.
    p.setPen(kSeparatorTopLeft);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(kSeparatorBottomRight);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void DrawSelection(QPainter& p, const QRect& r) {
    // A frame in the default pen (black, one pixel), then the gradient inside it, a line a row.
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    const QRect inside = r.adjusted(1, 1, -1, -1);
    const int rows = inside.height();
    for (int y = 0; y < rows; ++y) {
        p.setPen(CNuvMenu::GradientRow(y, rows));
        p.drawLine(inside.left(), inside.top() + y, inside.right(), inside.top() + y);
    }
}

} // namespace

CNuvMenu::CNuvMenu() = default;

QSize CNuvMenu::MeasureItem(const QString& text, bool separator) {
    return {kCharacterWidth * static_cast<int>(text.size()),
            separator ? kSeparatorHeight : kItemHeight};
}

QColor CNuvMenu::GradientRow(int row, int rows) {
    if (rows <= 0) {
        return kGradientTop;
    }
    return {Channel(kGradientTop.red(), kGradientBottom.red(), row, rows),
            Channel(kGradientTop.green(), kGradientBottom.green(), row, rows),
            Channel(kGradientTop.blue(), kGradientBottom.blue(), row, rows)};
}

QSize CNuvMenu::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                 const QWidget* widget) const {
    if (type == CT_MenuItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            // The menu gives an owner-drawn item two average characters more than it asks for:
            // room for the submenu arrow.
            return MeasureItem(item->text, item->menuItemType == QStyleOptionMenuItem::Separator) +
                   QSize(kMenuCharacters * item->fontMetrics.averageCharWidth(), 0);
        }
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void CNuvMenu::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                           const QWidget* widget) const {
    if (element == CE_MenuEmptyArea) {
        painter->fillRect(option->rect, kFace);
        return;
    }
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || item == nullptr) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    painter->save();
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        DrawSeparator(*painter, item->rect);
        painter->restore();
        return;
    }
    if ((item->state & State_Selected) != 0 && (item->state & State_Enabled) != 0) {
        DrawSelection(*painter, item->rect);
    } else {
        painter->fillRect(item->rect, kFace);
    }
    painter->setPen(kText);
    painter->setFont(item->font);
    painter->drawText(item->rect.adjusted(kTextIndent, 0, 0, 0),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                      item->text);
    if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
        // The submenu's arrow, as the menu itself adds it to an owner-drawn item.
        QStyleOption arrow = *option;
        arrow.rect = QRect(item->rect.right() - kArrowWidth, item->rect.top(), kArrowWidth,
                           item->rect.height());
        arrow.palette.setColor(QPalette::ButtonText, kText);
        arrow.palette.setColor(QPalette::WindowText, kText);
        arrow.palette.setColor(QPalette::Text, kText);
        QProxyStyle::drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, widget);
    }
    painter->restore();
}

void CNuvMenu::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                             QPainter* painter, const QWidget* widget) const {
    if (element == PE_PanelMenu) {
        painter->fillRect(option->rect, kFace);
        return;
    }
    if (element == PE_FrameMenu) {
        painter->save();
        painter->setPen(kMenuBorder);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int CNuvMenu::pixelMetric(PixelMetric metric, const QStyleOption* option,
                          const QWidget* widget) const {
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 1;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void MakeOwnerDrawn(QMenu& menu, QStyle& style) {
    menu.setStyle(&style);
    for (QAction* action : menu.actions()) {
        if (QMenu* submenu = action->menu()) {
            MakeOwnerDrawn(*submenu, style);
        }
    }
}

} // namespace xk
