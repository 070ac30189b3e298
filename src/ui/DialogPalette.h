#pragma once

#include <QPalette>

namespace xk {

// The colours of the skin for what Qt draws itself: message boxes, file dialogs, the about box.
// Dark panels with light text, the skin's teal for selections and its violet for links.
QPalette SkinDialogPalette();

} // namespace xk
