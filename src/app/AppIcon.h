#pragma once

#include <QIcon>
#include <QImage>

namespace xk {

// The application icon of the window, the task bar and the tray: a small mouse drawn in the
// skin's colours.
QIcon MakeApplicationIcon();

// The icon's picture at `size` x `size` pixels; the build writes it into the icon theme too.
QImage ApplicationIconImage(int size);

} // namespace xk
