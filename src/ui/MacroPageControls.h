#pragma once

#include "ui/SkinLayoutStandIn.h"
#include "ui/TextFonts.h"

#include <QFont>

class QLineEdit;
class QListWidget;
class QWidget;

namespace xk {

// The four controls of the macro page: the repeat-count edit, the macro-name edit, the macro
// list and the event list, black with white text. The objects live as long as the window;
// the controls exist (shown, empty) only while the macro page is shown.
class MacroPageControls {
public:
    explicit MacroPageControls(QWidget& parent);

    void Create(const SkinLayout& layout, const QFont& font);
    void Destroy();
    bool Created() const { return created_; }

    QLineEdit& RepeatCountEdit() { return *repeatCountEdit_; }
    QLineEdit& MacroNameEdit() { return *macroNameEdit_; }
    QListWidget& MacroList() { return *macroList_; }
    QListWidget& EventList() { return *eventList_; }

private:
    QLineEdit* repeatCountEdit_;
    QLineEdit* macroNameEdit_;
    QListWidget* macroList_;
    QListWidget* eventList_;
    bool created_ = false;
};

} // namespace xk
