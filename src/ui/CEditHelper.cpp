#include "ui/CEditHelper.h"

#include <QKeyEvent>

namespace xk {
namespace {

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

CEditHelper::CEditHelper(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("eventLineEdit"));
    // Bordered, in the list's colours, over the line it edits.
    setAutoFillBackground(true);
    setFrame(true);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void CEditHelper::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(event->key()) || event->key() == Qt::Key_Escape) {
        (IsEnter(event->key()) ? enterDown_ : escapeDown_) = true;
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CEditHelper::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) {
        if (IsEnter(event->key()) && enterDown_) {
            enterDown_ = false;
            emit editEnd(true);
        } else if (event->key() == Qt::Key_Escape && escapeDown_) {
            escapeDown_ = false;
            emit editEnd(false);
        }
    }
    QLineEdit::keyReleaseEvent(event);
}

void CEditHelper::focusOutEvent(QFocusEvent* event) {
    emit editEnd(true);
    QLineEdit::focusOutEvent(event);
}

} // namespace xk
