#include "ui/OwnedWindows.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace xk {
namespace {

// How many owners lie between `window` and `holder`: 1 for a window `holder` owns itself, 0
// when `holder` is not among its owners.
int OwnershipDepth(const QWidget& holder, const QWidget& window) {
    int depth = 0;
    for (const QWidget* w = &window; w != nullptr; w = w->parentWidget()) {
        if (w == &holder) {
            return depth;
        }
        if (w->isWindow()) {
            ++depth;
        }
    }
    return 0;
}

bool OutlineHolds(const QWidget& window, const QPoint& global) {
    if (!window.geometry().contains(global)) {
        return false;
    }
    const QRegion outline = window.mask();
    return outline.isEmpty() || outline.contains(window.mapFromGlobal(global));
}

void Send(QWidget& target, QEvent::Type type, const QMouseEvent& event, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    const QPointF global = event.globalPosition();
    QMouseEvent passed(type, target.mapFromGlobal(global), global, button, buttons,
                       event.modifiers(), event.pointingDevice());
    QApplication::sendEvent(&target, &passed);
}

} // namespace

QWidget* OwnedWindowAt(const QWidget& holder, const QPoint& global) {
    QWidget* found = nullptr;
    int foundDepth = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == &holder || !window->isVisible()) {
            continue;
        }
        const int depth = OwnershipDepth(holder, *window);
        if (depth > foundDepth && OutlineHolds(*window, global)) {
            found = window;
            foundDepth = depth;
        }
    }
    return found;
}

bool PassToOwnedWindow(const QWidget& holder, const QMouseEvent& event) {
    QPointer<QWidget> target = OwnedWindowAt(holder, event.globalPosition().toPoint());
    if (target == nullptr) {
        return false;
    }
    if (event.type() == QEvent::MouseButtonRelease) {
        Send(*target, QEvent::MouseMove, event, Qt::NoButton, event.buttons() | event.button());
        // The move may have closed the window (a row chosen) or deleted it.
        QWidget* const still = target.data();
        if (still == nullptr || !still->isVisible()) {
            return true;
        }
        Send(*still, QEvent::MouseButtonRelease, event, event.button(), event.buttons());
    } else {
        Send(*target, event.type(), event, event.button(), event.buttons());
    }
    return true;
}

} // namespace xk
