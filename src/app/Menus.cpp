// The two owner-drawn menus: the event list's context menu and the tray menu.
#include "app/CNUV_DEvoraApp.h"

#include <QCursor>

namespace xk {

void CNUV_DEvoraApp::LoadMenus(int32_t language) {
    eventMenu_.Load(language, menuStyle_);
    if (tray_) {
        tray_->LoadMenu(language, menuStyle_);
    }
}

void CNUV_DEvoraApp::OpenEventMenu() {
    if (!window_ || settings_.currentPage != kMacroPage || !widgets_.Created()) {
        return;
    }
    eventMenu_.Open(macroPage_, widgets_.EventList(), QCursor::pos());
}

} // namespace xk
