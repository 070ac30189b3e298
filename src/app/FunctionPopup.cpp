// The function popup and the warning that guards the only left button.
#include "app/CNUV_DEvoraApp.h"

#include "ui/PopupPlacement.h"
#include "ui/WarningDlg.h"

namespace xk {

WarningResult CNUV_DEvoraApp::RunWarning() {
    WarningDlg dialog(Context(), window_.get());
    return static_cast<WarningResult>(dialog.exec());
}

void CNUV_DEvoraApp::OpenFunctionPopup() {
    CloseFunctionPopup();
    auto* popup = new CMenuDlg(Context(), *window_, [this] {
        if (window_) {
            window_->RepaintWindow();
        }
    });
    // The slot's bottom-left corner; its last pixel row tells the slot's screen.
    const QPoint slot(ui_.popupOrigin[0], ui_.popupOrigin[1]);
    popup->move(
        PlaceInside(slot, popup->size(), AvailableAreaAt(slot - QPoint(0, 1), window_.get())));
    popup->show();
    functionPopup_ = popup;
}

void CNUV_DEvoraApp::CloseFunctionPopup() {
    if (functionPopup_) {
        functionPopup_->hide();
        functionPopup_->deleteLater();
        functionPopup_ = nullptr;
    }
}

} // namespace xk
