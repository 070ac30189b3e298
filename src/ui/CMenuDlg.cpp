#include "ui/CMenuDlg.h"

#include "settings/FunctionAssignment.h"
#include "ui/CSubMenuDlg.h"
#include "ui/OwnedWindows.h"
#include "ui/PopupPicture.h"
#include "ui/PopupPlacement.h"
#include "ui/layout/PopupRows.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace xk {
namespace {

constexpr Qt::WindowFlags kPopupFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;

} // namespace

CMenuDlg::CMenuDlg(WindowContext context, QWidget& owner, std::function<void()> assigned)
    : QWidget(&owner, kPopupFlags), c_(context), assigned_(std::move(assigned)) {
    setWindowTitle(QStringLiteral("MainMenuDlg"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    const QSize mask = c_.pictures.FunctionPopupMaskSize();
    w_ = mask.width();
    h_ = mask.height() / kPopupRows;
    setFixedSize(std::max(w_, 1), kPopupRows * h_ + 1);
    c_.ui.popupRow = kNoElement;
}

CMenuDlg::~CMenuDlg() = default;

CSubMenuDlg* CMenuDlg::SubPopup() const {
    return subPopup_.data();
}

void CMenuDlg::paintEvent(QPaintEvent* /*event*/) {
    const RowList list{size(), h_, kPopupRows, c_.ui.popupRow, c_.ui.popupPressed};
    const QImage image = ComposeRowList(
        c_.pictures.FunctionPopup(), list, c_.fonts.For(c_.settings.language),
        [this](int32_t i) {
            return QString::fromStdString(c_.layout.functionName[static_cast<size_t>(i)]);
        },
        devicePixelRatioF());
    QPainter(this).drawImage(0, 0, image);
}

void CMenuDlg::mouseMoveEvent(QMouseEvent* event) {
    // Pressed on a group row and dragged into its sub-popup: the row stays, the sub-popup follows.
    if (PassToOwnedWindow(*this, *event)) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    const int32_t row = RowAt(pos.x(), pos.y(), w_, h_, kPopupHitRows);
    if (row != c_.ui.popupRow) {
        c_.ui.popupRow = row;
        Refresh();
    }
}

void CMenuDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    c_.ui.popupPressed = true;
    Refresh();
}

void CMenuDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    c_.ui.popupPressed = false;
    if (PassToOwnedWindow(*this, *event)) {
        if (isVisible()) {
            repaint(); // the row's pressed look goes; its sub-popup stays as it is
        }
        return;
    }
    Refresh();
    const int32_t row = c_.ui.popupRow;
    if (row >= 1 && row <= kLastDirectRow) {
        AssignFunction(c_.settings, row);
        hide();
        deleteLater();
        if (assigned_) {
            assigned_();
        }
    }
}

void CMenuDlg::OnSubPopupAssigned() {
    hide();
    if (assigned_) {
        assigned_();
    }
}

void CMenuDlg::Refresh() {
    if (isVisible()) {
        repaint();
    }
    RecreateSubPopup();
}

void CMenuDlg::hideEvent(QHideEvent* event) {
    CloseSubPopup();
    QWidget::hideEvent(event);
}

void CMenuDlg::CloseSubPopup() {
    if (subPopup_) {
        subPopup_->hide();
        subPopup_->deleteLater();
        subPopup_ = nullptr;
    }
}

void CMenuDlg::RecreateSubPopup() {
    CloseSubPopup();
    const int32_t row = c_.ui.popupRow;
    if (!IsGroupRow(row) || !isVisible()) {
        return;
    }
    auto* sub = new CSubMenuDlg(c_, *this);
    const int32_t count =
        std::clamp<int32_t>(c_.macroPage.store.userMacroCount, 0, kUsableUserMacros);
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    const QRect popup(origin, size());
    sub->move(PlaceSubPopup(popup, sub->size(), origin.y() + h_ * SubPopupOffsetRows(row, count),
                            origin.y() + h_ * (row + 1), AvailableAreaAt(origin, this)));
    if (sub->WindowHeight() > 0) {
        sub->show();
    }
    subPopup_ = sub;
}

} // namespace xk
