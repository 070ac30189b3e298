#include "ui/WarningDlg.h"

#include "ui/CentredText.h"
#include "ui/MaskShape.h"
#include "ui/SkinPainter.h"
#include "ui/layout/SkinPictureNames.h"
#include "ui/layout/WarningElements.h"

#include <QApplication>
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
    move(c_.ui.popupOrigin[0], c_.ui.popupOrigin[1]);
}

void WarningDlg::paintEvent(QPaintEvent* /*event*/) {
    const PagePictures& pictures = c_.pictures.Warning();
    QPainter p(this);
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

void WarningDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const auto& elements = c_.layout.warningElements;
    int32_t choice = kNoElement;
    if (elements[warning_element::kConfirmButton].Contains(pos.x(), pos.y())) {
        choice = kConfirm;
    } else if (elements[warning_element::kCancelButton].Contains(pos.x(), pos.y())) {
        choice = kCancel;
    }
    if (choice != c_.ui.warningChoice) {
        c_.ui.warningChoice = choice;
        repaint();
    }
    QDialog::mouseMoveEvent(event);
}

void WarningDlg::mouseReleaseEvent(QMouseEvent* event) {
    QDialog::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (c_.ui.warningChoice == kConfirm || c_.ui.warningChoice == kCancel) {
        done(c_.ui.warningChoice);
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
