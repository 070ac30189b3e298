// Hiding to the tray, showing again and the one way the program ends.
#include "app/CNUV_DEvoraApp.h"

#include "device/SystemSettings.h"

#include <QApplication>

#include <cstdio>

namespace xk {

void CNUV_DEvoraApp::HideToTray() {
    if (!window_) {
        return;
    }
    // A popup left on the desktop without its window would be lost.
    CloseFunctionPopup();
    if (!TrayIcon::Available() || !tray_) {
        // Without a tray the window would be lost: minimise it instead.
        window_->showMinimized();
        return;
    }
    window_->showMinimized();
    window_->hide();
    tray_->AddTrayIcon();
}

void CNUV_DEvoraApp::ShowFromTray() {
    if (!window_ || exiting_) {
        return;
    }
    window_->show();
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

void CNUV_DEvoraApp::ExitProgram() {
    if (exiting_) {
        return;
    }
    exiting_ = true;
    if (tray_) {
        tray_->RemoveTrayIcon();
    }
    if (link_) {
        // A playing macro ends and lets go of its keys and buttons first; the exit report is
        // then the last report the mouse receives.
        SendBudget budget(kInterfaceSendBudget);
        if (!link_->Close(budget)) {
            std::fprintf(stderr, "xk-r40: the mouse did not answer the exit report\n");
        }
    }
    if (startPointer_) {
        startPointer_->PutBack();
    } else {
        RestoreDefaultPointerSpeed(system_);
    }
    if (deviceNotifier_) {
        // The removal may be reported from this notifier's own signal: delete it later.
        deviceNotifier_->setEnabled(false);
        deviceNotifier_.release()->deleteLater();
    }
    if (window_) {
        window_->hide();
    }
    // Every event loop ends, also a message box's, a file dialog's or the warning's that runs
    // now, and also before the main loop has started (quit() alone would wait for them).
    QApplication::exit(0);
}

void CNUV_DEvoraApp::ExitWithoutDisplay() {
    if (exiting_) {
        return;
    }
    exiting_ = true;
    if (link_) {
        SendBudget budget(kInterfaceSendBudget);
        (void)link_->Close(budget);
    }
    // The pointer speed lived in the X server that is gone.
}

} // namespace xk
