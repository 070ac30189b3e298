#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

namespace xk {

// A window that holds the pointer (the left button went down on it) gets every move and the
// release wherever the pointer goes. The windows it owns (the function popup, its sub-popup)
// lie above it: a point over one of them belongs to that window, not to the holder.

// The visible window owned by `holder`, directly or through another owned window, whose outline
// holds the screen point `global`; the most deeply owned wins, as it lies on top. Null when the
// point lies over none of them.
QWidget* OwnedWindowAt(const QWidget& holder, const QPoint& global);

// Passes a pointer move or release that `holder` received on to the owned window lying at the
// event's point, as that window's own event, so that a press, drag and release chooses there as
// in a drop-down list. A release goes after a move to the same point. Returns whether the point
// lay over an owned window; the holder then takes the event as over none of its own parts.
bool PassToOwnedWindow(const QWidget& holder, const QMouseEvent& event);

} // namespace xk
