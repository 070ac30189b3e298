#include "ui/CSubMenuDlg.h"

#include "settings/FunctionAssignment.h"
#include "ui/CMenuDlg.h"
#include "ui/PopupPicture.h"
#include "ui/layout/PopupRows.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace xk {
namespace {

constexpr Qt::WindowFlags kPopupFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;

int32_t UserMacroCount(const MacroStore& store) {
    return std::clamp<int32_t>(store.userMacroCount, 0, kUsableUserMacros);
}

} // namespace

CSubMenuDlg::CSubMenuDlg(WindowContext context, CMenuDlg& popup)
    : QWidget(&popup, kPopupFlags), c_(context), popup_(popup), subPopupRow_(kNoElement) {
    setWindowTitle(QStringLiteral("SubMenuDlg"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    const QSize mask = c_.pictures.SubPopupMaskSize();
    w2_ = mask.width();
    h2_ = mask.height() / kSubPopupMaskRows;
    InterfaceState& ui = c_.ui;
    ui.subPopupRows =
        SubPopupRowsFor(ui.popupRow, UserMacroCount(c_.macroPage.store), ui.subPopupRows);
    windowHeight_ = ui.subPopupRows == 0 ? 0 : ui.subPopupRows * h2_ + 1;
    setFixedSize(std::max(w2_, 1), std::max(windowHeight_, 1));
    ui.assignmentDone = false;
}

QString CSubMenuDlg::RowText(int32_t d) const {
    const int32_t row = c_.ui.popupRow;
    if (row == kUserMacroGroupRow) {
        if (d < 1 || d > UserMacroCount(c_.macroPage.store)) {
            return {};
        }
        const std::u16string name =
            c_.macroPage.store.userMacros[static_cast<size_t>(d - 1)].Name();
        return QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
    }
    const auto base = SubPopupCodeBase(row);
    const int32_t code = base ? *base + d : -1;
    if (code < 0 || code >= static_cast<int32_t>(c_.layout.functionName.size())) {
        return {};
    }
    return QString::fromStdString(c_.layout.functionName[static_cast<size_t>(code)]);
}

void CSubMenuDlg::paintEvent(QPaintEvent* /*event*/) {
    const RowList list{QSize(w2_, windowHeight_), h2_, c_.ui.subPopupRows, subPopupRow_,
                       subPopupPressed_};
    const QImage image = ComposeRowList(
        c_.pictures.SubPopup(), list, c_.fonts.For(c_.settings.language),
        [this](int32_t d) { return RowText(d); }, devicePixelRatioF());
    QPainter(this).drawImage(0, 0, image);
}

void CSubMenuDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const int32_t row = RowAt(pos.x(), pos.y(), w2_, h2_, c_.ui.subPopupRows);
    if (row != subPopupRow_) {
        subPopupRow_ = row;
        repaint();
    }
}

void CSubMenuDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    subPopupPressed_ = true;
    repaint();
}

void CSubMenuDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    subPopupPressed_ = false;
    if (subPopupRow_ == kNoElement) {
        return;
    }
    InterfaceState& ui = c_.ui;
    const auto base = SubPopupCodeBase(ui.popupRow);
    const int32_t code = base ? *base + subPopupRow_ : ui.lastSubCode;
    ui.lastSubCode = code;
    AssignFunction(c_.settings, code);
    ui.assignmentDone = true;
    repaint();
    popup_.OnSubPopupAssigned();
    hide();
    deleteLater();
}

} // namespace xk
