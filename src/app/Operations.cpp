// What the main window's elements start outside the window.
#include "app/CNUV_DEvoraApp.h"
#include "app/FileDialogs.h"

#include "device/NoAnswerMessage.h"
#include "device/UploadSettings.h"
#include "macro/MacroList.h"
#include "macro/Recording.h"
#include "settings/NotSavedMessage.h"

#include <QCoreApplication>

#include <span>

namespace xk {
namespace {

const FileFilter kMacroFilter{QStringLiteral("All Files(*.dat)"), QStringLiteral("*.dat")};

} // namespace

SendBudget CNUV_DEvoraApp::MouseBudget() {
    return SendBudget(kInterfaceSendBudget, [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::ExcludeSocketNotifiers);
    });
}

CNUV_DEvoraApp::UploadResult CNUV_DEvoraApp::UploadAndSave(SendBudget budget) {
    UploadResult result;
    result.saved = xk::UploadSettings(
        settings_, link_->reports(), system_, [this] { RequestRepaintFromAnyThread(); }, budget);
    result.answered = budget.answered();
    result.refused = budget.refused();
    return result;
}

void CNUV_DEvoraApp::UploadSettings() {
    const UploadResult result = UploadAndSave(MouseBudget());
    if (!result.saved) {
        ShowNotSaved({settings_.configPath});
    }
    SayWhatTheMouseDid(result);
}

void CNUV_DEvoraApp::SayWhatTheMouseDid(const UploadResult& result) {
    if (!result.answered) {
        ShowMessage(NoAnswerMessage(settings_.language));
    } else if (result.refused) {
        ShowMessage(RefusedMessage(settings_.language));
    }
}

void CNUV_DEvoraApp::ShowNotSaved(std::initializer_list<std::filesystem::path> files) {
    ShowMessage(NotSavedMessage(std::span(files.begin(), files.size()), settings_.language));
}

void CNUV_DEvoraApp::ImportMacros() {
    if (const auto file = ChooseFileToOpen(window_.get(), folders_.person, kMacroFilter)) {
        xk::ImportMacros(macroPage_, *file, settings_.language);
        window_->RequestRepaint();
    }
}

void CNUV_DEvoraApp::ExportMacros() {
    if (const auto file =
            ChooseFileToSave(window_.get(), folders_.person, kMacroFilter, QStringLiteral("dat"))) {
        if (!xk::ExportMacros(macroPage_, *file)) {
            ShowNotSaved({*file});
        }
    }
}

void CNUV_DEvoraApp::NewMacro() {
    xk::NewMacro(macroPage_);
}
void CNUV_DEvoraApp::DeleteMacro() {
    xk::DeleteMacro(macroPage_);
}
void CNUV_DEvoraApp::SaveMacros() {
    if (!xk::SaveMacros(macroPage_)) {
        ShowNotSaved({macros_.macroFilePath});
    }
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
