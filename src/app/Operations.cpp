// What the main window's elements start outside the window.
#include "app/CNUV_DEvoraApp.h"

#include "device/UploadSettings.h"
#include "macro/MacroList.h"
#include "macro/Recording.h"

#include <QFileDialog>

namespace xk {
namespace {

const QString kMacroFilter = QStringLiteral("All Files(*.dat) (*.dat)");

} // namespace

void CNUV_DEvoraApp::UploadSettings() {
    xk::UploadSettings(settings_, link_->reports(), system_,
                       [this] { RequestRepaintFromAnyThread(); });
}

void CNUV_DEvoraApp::ImportMacros() {
    QFileDialog dialog(window_.get(), QString(), QString::fromStdString(programDirectory_.string()),
                       kMacroFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        xk::ImportMacros(macroPage_, dialog.selectedFiles().front().toStdString());
        window_->RequestRepaint();
    }
}

void CNUV_DEvoraApp::ExportMacros() {
    QFileDialog dialog(window_.get(), QString(), QString::fromStdString(programDirectory_.string()),
                       kMacroFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        xk::ExportMacros(macroPage_, dialog.selectedFiles().front().toStdString());
    }
}

void CNUV_DEvoraApp::NewMacro() {
    xk::NewMacro(macroPage_);
}
void CNUV_DEvoraApp::DeleteMacro() {
    xk::DeleteMacro(macroPage_);
}
void CNUV_DEvoraApp::SaveMacros() {
    xk::SaveMacros(macroPage_);
}
void CNUV_DEvoraApp::ToggleRepeat() {
    xk::ToggleRepeat(macroPage_);
}
void CNUV_DEvoraApp::ToggleRecording() {
    xk::ToggleRecording(macroPage_);
}
void CNUV_DEvoraApp::FillMacroList() {
    xk::FillMacroList(macroPage_);
}

// Built by later work: profiles, the factory reset, the language switch, the warning dialog,
// the function popups and the event list's menu.
void CNUV_DEvoraApp::ImportProfile() {}
void CNUV_DEvoraApp::ExportProfile() {}
void CNUV_DEvoraApp::FactoryReset() {}
void CNUV_DEvoraApp::SwitchLanguage(int32_t /*language*/) {}
int CNUV_DEvoraApp::RunWarning() {
    return 1;
}
void CNUV_DEvoraApp::OpenFunctionPopup() {}
void CNUV_DEvoraApp::CloseFunctionPopup() {}

} // namespace xk
