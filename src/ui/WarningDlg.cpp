#include "ui/WarningDlg.h"

#include "ui/Canvas.h"
#include "ui/CentredText.h"
#include "ui/MaskShape.h"
#include "ui/PopupPlacement.h"
#include "ui/SkinPainter.h"
#include "ui/layout/SkinPictureNames.h"
#include "ui/layout/WarningElements.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace xk {
namespace {

const QColor kWarningTextColour(255, 0, 0);
// The size of a dialog whose pictures are all missing: its texts still show.
constexpr QSize kUnshapedSize(360, 180);

} // namespace

WarningDlg::WarningDlg(WindowContext context, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), c_(context) {
    // Named like the program's message boxes; the frameless dialog shows no caption.
    setWindowTitle(QApplication::applicationName());
    setModal(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    const MaskShape shape = ShapeFromMask(c_.pictures.SkinsDir() / skin_pictures::kWarningMask);
    QSize size = shape.size;
    if (size.isEmpty()) {
        size = c_.pictures.Warning().normal.size();
    }
    if (size.isEmpty()) {
        size = kUnshapedSize;
    }
    setFixedSize(size);
    if (!shape.size.isEmpty()) {
        setMask(shape.region);
    }
    const QPoint slot(c_.ui.popupOrigin[0], c_.ui.popupOrigin[1]);
    move(PlaceInside(slot, size, AvailableAreaAt(slot - QPoint(0, 1), owner)));
}

void WarningDlg::paintEvent(QPaintEvent* /*event*/) {
    const PagePictures& pictures = c_.pictures.Warning();
    QPainter p(this);
    UseCanvasHints(p);
    p.fillRect(rect(), Qt::black);
    p.drawImage(0, 0, pictures.normal);
    const auto& elements = c_.layout.warningElements;
    if (c_.ui.warningChoice == kConfirm) {
        CopyElement(p, pictures.over, elements[warning_element::kConfirmButton]);
    } else if (c_.ui.warningChoice == kCancel) {
        CopyElement(p, pictures.over, elements[warning_element::kCancelButton]);
    }
    p.setFont(c_.fonts.For(c_.settings.language));
    p.setBackgroundMode(Qt::TransparentMode);
    for (size_t i = 0; i < elements.size(); ++i) {
        DrawCentredText(p, elements[i], QString::fromStdString(c_.layout.warningCaptions[i]),
                        kWarningTextColour);
    }
}

int32_t WarningDlg::ChoiceAt(const QPoint& pos) const {
    const auto& elements = c_.layout.warningElements;
    if (elements[warning_element::kConfirmButton].Contains(pos.x(), pos.y())) {
        return kConfirm;
    }
    if (elements[warning_element::kCancelButton].Contains(pos.x(), pos.y())) {
        return kCancel;
    }
    return kNoElement;
}

void WarningDlg::SetChoice(int32_t choice) {
    if (choice != c_.ui.warningChoice) {
        c_.ui.warningChoice = choice;
        if (isVisible()) {
            repaint();
        }
    }
}

// The pointer may rest where the dialog opens: no move comes until it moves, so the
// highlight starts from where it lies.
void WarningDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    SetChoice(ChoiceAt(mapFromGlobal(QCursor::pos())));
}

void WarningDlg::mouseMoveEvent(QMouseEvent* event) {
    SetChoice(ChoiceAt(event->position().toPoint()));
    QDialog::mouseMoveEvent(event);
}

// Only the button under the released pointer answers.
void WarningDlg::mouseReleaseEvent(QMouseEvent* event) {
    QDialog::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const int32_t choice = ChoiceAt(event->position().toPoint());
    SetChoice(choice);
    if (choice == kConfirm || choice == kCancel) {
        done(choice);
    }
}

void WarningDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void WarningDlg::reject() {
    done(kCancel);
}

// Enter confirms nothing.
void WarningDlg::accept() {}

} // namespace xk
