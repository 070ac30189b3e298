#pragma once

#include <QIcon>

namespace xk {

// The application icon of the window, the task bar and the tray: a small mouse drawn in the
// skin's colours.
QIcon MakeApplicationIcon();

} // namespace xk
