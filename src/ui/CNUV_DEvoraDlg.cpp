#include "ui/CNUV_DEvoraDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "macro/EventList.h"
#include "macro/PreTranslate.h"
#include "macro/Recording.h"
#include "settings/Language.h"
#include "ui/CEditHelper.h"
#include "ui/KeyMessages.h"
#include "ui/OwnedWindows.h"

namespace xk {
namespace {

// 533 x 395 dialog units of the dialog font, the size of a window without a mask.
constexpr QSize kUnshapedSize(800, 642);

} // namespace

CNUV_DEvoraDlg::CNUV_DEvoraDlg(WindowContext context, MacroPageWidgets& macroControls,
                               WindowCommands& commands)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint),
      c_(context), commands_(commands), painter_(context), macroControls_(macroControls),
      ledPreview_(context.settings, context.ui, [this] { RequestRepaint(); }) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(kUnshapedSize);
    macroControls_.Attach(*this);
    macroControls_.SetRepaintHandler([this] { RequestRepaint(); });
    macroControls_.SetEditClosedHandler([this] { ApplyEditedDelay(c_.macroPage); });
    c_.ui.paintWidth = kUnshapedSize.width();
    c_.ui.paintHeight = kUnshapedSize.height();
}

void CNUV_DEvoraDlg::ApplyShape(const MaskShape& shape) {
    if (shape.size.isEmpty()) {
        clearMask();
        macroRepaintRegion_ =
            xk::MacroRepaintRegion(QRegion(rect()), c_.layout.macroNameEditRect,
                                   c_.layout.macroListRect, c_.layout.eventListRect);
        return;
    }
    c_.ui.paintWidth = shape.size.width();
    c_.ui.paintHeight = shape.size.height();
    setFixedSize(shape.size);
    setMask(shape.region);
    macroRepaintRegion_ = xk::MacroRepaintRegion(shape.region, c_.layout.macroNameEditRect,
                                                 c_.layout.macroListRect, c_.layout.eventListRect);
}

void CNUV_DEvoraDlg::RequestRepaint() {
    if (c_.settings.currentPage == kMacroPage) {
        update(macroRepaintRegion_);
    } else {
        update();
    }
}

void CNUV_DEvoraDlg::RepaintWindow() {
    if (isVisible()) {
        repaint();
    }
}

void CNUV_DEvoraDlg::RepaintAfterHotChange() {
    if (!isVisible()) {
        return;
    }
    if (c_.settings.currentPage == kMacroPage) {
        repaint(macroRepaintRegion_);
    } else {
        repaint();
    }
}

void CNUV_DEvoraDlg::paintEvent(QPaintEvent* /*event*/) {
    if (c_.ui.assignmentDone) {
        // The sub-popup has assigned a function: the popup closes, right after this paint.
        c_.ui.assignmentDone = false;
        QMetaObject::invokeMethod(
            this, [this] { commands_.CloseFunctionPopup(); }, Qt::QueuedConnection);
    }
    const QImage image = painter_.Compose(devicePixelRatioF());
    QPainter p(this);
    const QRect frame(0, 0, c_.ui.paintWidth, c_.ui.paintHeight);
    p.drawImage(frame, image, QRectF(frame.topLeft(), frame.size() * image.devicePixelRatio()));
}

void CNUV_DEvoraDlg::mouseMoveEvent(QMouseEvent* event) {
    if (followingPointer_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - moveOffset_);
        return;
    }
    if (PassToOwnedWindow(*this, *event)) {
        OnPointerCovered();
        return;
    }
    const QPoint pos = event->position().toPoint();
    OnPointerMove(pos.x(), pos.y());
}

void CNUV_DEvoraDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint pos = event->position().toPoint();
        OnLeftButtonDown(pos.x(), pos.y());
    }
}

void CNUV_DEvoraDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        followingPointer_ = false;
        // Released over a popup lying above the window: the popup chooses, no button here acts.
        if (PassToOwnedWindow(*this, *event)) {
            OnPointerCovered();
        }
        const QPoint pos = event->position().toPoint();
        OnLeftButtonUp(pos.x(), pos.y());
    } else if (event->button() == Qt::RightButton && c_.settings.currentPage != kMacroPage) {
        // On the macro page the release opens the event menu (eventFilter).
        ShowSystemMenu(event->globalPosition().toPoint());
    }
}

void CNUV_DEvoraDlg::contextMenuEvent(QContextMenuEvent* event) {
    // Right-button releases are handled above; the menu key opens the system menu.
    event->accept();
}

void CNUV_DEvoraDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::AltModifier)) {
        ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
        return;
    }
    if (event->key() == Qt::Key_Menu) {
        ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
        return;
    }
    // Enter and Escape never end the window.
    event->accept();
}

void CNUV_DEvoraDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    commands_.HideToTray();
}

void CNUV_DEvoraDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (c_.settings.currentPage == kLightPage && !isMinimized()) {
        ledPreview_.StartLedPreview();
    }
}

void CNUV_DEvoraDlg::hideEvent(QHideEvent* event) {
    ledPreview_.StopLedPreview();
    QWidget::hideEvent(event);
}

void CNUV_DEvoraDlg::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    if (isMinimized()) {
        ledPreview_.StopLedPreview();
    } else if (isVisible() && c_.settings.currentPage == kLightPage) {
        ledPreview_.StartLedPreview();
    }
}

bool CNUV_DEvoraDlg::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return PreTranslateKey(watched, *static_cast<QKeyEvent*>(event));
    case QEvent::ContextMenu:
        // The Menu key's context menu, while the keyboard belongs to the recording.
        return c_.macroPage.recorder.recording && watched->isWidgetType() &&
               static_cast<QWidget*>(watched)->window() == this &&
               static_cast<QContextMenuEvent*>(event)->reason() != QContextMenuEvent::Mouse;
    case QEvent::MouseButtonRelease:
        // Seen on the way into the window, before the child under the pointer (which may keep
        // the release to itself): whatever child the click was on opens the event menu.
        if (watched == windowHandle() &&
            static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            RightButtonReleased();
        }
        return false;
    default:
        return false;
    }
}

bool CNUV_DEvoraDlg::PreTranslateKey(QObject* watched, QKeyEvent& event) {
    const bool recording = c_.macroPage.recorder.recording;
    if (event.type() == QEvent::ShortcutOverride) {
        // While recording no shortcut fires: the key comes as a key event and is recorded.
        if (recording && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == this) {
            event.accept();
            return true;
        }
        return false;
    }
    // A key event travels from the focus widget (or the grabber) up its parents: take it once.
    QWidget* target = QWidget::keyboardGrabber();
    if (target == nullptr) {
        target = QApplication::focusWidget();
    }
    if (watched != target || target == nullptr || target->window() != this) {
        return false;
    }
    const auto message = KeyMessageOf(event);
    if (!message) {
        return recording;
    }
    const PreTranslation step = PreTranslateMessage(
        message->message, message->virtualKey, recording, c_.settings.currentPage == kMacroPage);
    // X repeats a held key as release and press pairs flagged as auto-repeat: the key is still
    // down, so neither is a key message. A key without a virtual key goes to the recording
    // too: its release may be of a key whose press had one.
    if (step.record && !event.isAutoRepeat()) {
        RecordKeyMessage(c_.macroPage, message->message, message->virtualKey, message->keycode);
    }
    // The in-place edit sees its own Enter and Escape: it closes only on a release whose press
    // it saw, not on the release of the key that chose a menu command.
    if (!recording && qobject_cast<CEditHelper*>(target) != nullptr) {
        return false;
    }
    return step.swallow;
}

void CNUV_DEvoraDlg::RightButtonReleased() {
    if (c_.settings.currentPage != kMacroPage || c_.macroPage.recorder.recording) {
        return;
    }
    // After the release has reached its child, so that the menu's own loop starts clean.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (c_.settings.currentPage == kMacroPage && !c_.macroPage.recorder.recording) {
                commands_.OpenEventMenu();
            }
        },
        Qt::QueuedConnection);
}

void CNUV_DEvoraDlg::MoveWindow() {
    QWindow* handle = windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
        return;
    }
    followingPointer_ = true;
    moveOffset_ = QCursor::pos() - frameGeometry().topLeft();
}

// The window has no caption bar: its system menu opens on a right click on the main and light
// pages and with Alt+Space.
void CNUV_DEvoraDlg::ShowSystemMenu(const QPoint& globalPos) {
    QMenu menu(this);
    FillSystemMenu(menu);
    menu.exec(globalPos);
}

// The exit comes last and is there on every desktop: where there is no tray, the tray menu's
// "Exit Driver" cannot be reached.
void CNUV_DEvoraDlg::FillSystemMenu(QMenu& menu) {
    const bool english = IsEnglish(c_.settings.language);
    const auto text = [english](const char* inEnglish, const char* inChinese) {
        return QString::fromUtf8(english ? inEnglish : inChinese);
    };
    menu.addAction(text("Mi&nimize", "最小化(&N)"), this, [this] { showMinimized(); });
    menu.addAction(text("&Close", "关闭(&C)"), this, [this] { commands_.HideToTray(); });
    menu.addSeparator();
    menu.addAction(text("&About NUV_DEvora...", "关于 NUV_DEvora(&A)..."), this,
                   [this] { ShowAboutBox(); });
    menu.addSeparator();
    menu.addAction(text(kExitDriverEnglish, kExitDriverChinese), this,
                   [this] { commands_.ExitProgram(); });
}

void CNUV_DEvoraDlg::ShowAboutBox() {
    QMessageBox box(this);
    box.setWindowTitle(QStringLiteral("About NUV_DEvora"));
    box.setIconPixmap(windowIcon().pixmap(32, 32));
    box.setText(QStringLiteral("NUV_DEvora Version 1.0"));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace xk
