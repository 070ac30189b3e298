// Profile files and the factory reset, started from the main window.
#include "app/CNUV_DEvoraApp.h"
#include "app/FileDialogs.h"

#include "macro/ReplaceUserMacros.h"
#include "settings/FactoryReset.h"
#include "settings/Profile.h"

namespace xk {
namespace {

const FileFilter kProfileFilter{QStringLiteral("All Files(*.ini)"), QStringLiteral("*.ini")};

} // namespace

void CNUV_DEvoraApp::ExportProfile() {
    if (const auto file = ChooseFileToSave(window_.get(), folders_.person, kProfileFilter,
                                           QStringLiteral("ini"))) {
        ExportProfileFile(settings_, *file, *this);
        window_->RequestRepaint();
    }
}

void CNUV_DEvoraApp::ImportProfile() {
    if (const auto file = ChooseFileToOpen(window_.get(), folders_.person, kProfileFilter)) {
        // Only the record changes: config.ini and the mouse follow a save or an upload.
        if (ImportProfileFile(settings_, *file, *this)) {
            window_->RequestRepaint();
        }
    }
}

void CNUV_DEvoraApp::FactoryReset() {
    bool configSaved = ResetConfigurations(settings_, settings_.configPath);
    const bool macrosSaved = ResetUserMacros(macroPage_, skinsDir_, settings_.language,
                                             settings_.currentPage == kMacroPage);
    const UploadResult upload = UploadAndSave(MouseBudget());
    configSaved = upload.saved && configSaved;
    window_->RequestRepaint();
    if (!configSaved && !macrosSaved) {
        ShowNotSaved({settings_.configPath, macros_.macroFilePath});
    } else if (!configSaved) {
        ShowNotSaved({settings_.configPath});
    } else if (!macrosSaved) {
        ShowNotSaved({macros_.macroFilePath});
    }
    SayWhatTheMouseDid(upload);
}

} // namespace xk
