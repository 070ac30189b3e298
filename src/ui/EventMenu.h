#pragma once

#include "macro/MacroPage.h"

#include <QMenu>
#include <QPoint>

#include <cstdint>
#include <memory>

class QStyle;

namespace xk {

class CEditableListBox;

// The event list's context menu: the popup of the command table in the language's texts and
// ids, drawn by the menu style.
class EventMenu {
public:
    // (Re)builds the menu for a language (non-zero English, 0 Chinese).
    void Load(int32_t language, QStyle& style);
    // A right-button release at `pointer` (screen coordinates) on the macro page: selects the
    // line under the pointer, shows the menu there when the pointer is on a line of the list
    // (or the list is empty) and runs the command chosen.
    void Open(MacroPage& page, CEditableListBox& list, QPoint pointer);

    // The popup, or null before the first load.
    QMenu* Menu() const { return menu_.get(); }

private:
    std::unique_ptr<QMenu> menu_;
};

} // namespace xk
