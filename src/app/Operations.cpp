// What the main window's elements start outside the window.
#include "app/CNUV_DEvoraApp.h"
#include "app/FileDialogs.h"

#include "device/UploadSettings.h"
#include "macro/MacroList.h"
#include "macro/Recording.h"

namespace xk {
namespace {

const FileFilter kMacroFilter{QStringLiteral("All Files(*.dat)"), QStringLiteral("*.dat")};

} // namespace

void CNUV_DEvoraApp::UploadSettings() {
    xk::UploadSettings(settings_, link_->reports(), system_,
                       [this] { RequestRepaintFromAnyThread(); });
}

void CNUV_DEvoraApp::ImportMacros() {
    if (const auto file = ChooseFileToOpen(window_.get(), programDirectory_, kMacroFilter)) {
        xk::ImportMacros(macroPage_, *file);
        window_->RequestRepaint();
    }
}

void CNUV_DEvoraApp::ExportMacros() {
    if (const auto file = ChooseFileToSave(window_.get(), programDirectory_, kMacroFilter,
                                           QStringLiteral("dat"))) {
        xk::ExportMacros(macroPage_, *file);
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

} // namespace xk
