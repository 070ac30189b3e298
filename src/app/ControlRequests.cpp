// xk-r40-ctl's requests, carried out by the program as its window carries out a person's
// clicks, so the window shows the change and the mouse gets one upload.
#include "app/CNUV_DEvoraApp.h"

#include "ctl/Commands.h"
#include "ctl/ExitCodes.h"
#include "ctl/RequestProtocol.h"
#include "macro/ReplaceUserMacros.h"
#include "settings/SettingsIo.h"

#include <QApplication>

namespace xk {

class AppControlHost final : public ctl::ControlHost {
public:
    explicit AppControlHost(CNUV_DEvoraApp& app) : app_(app) {}

    bool IsProgram() const override { return true; }
    std::filesystem::path DataFolder() const override { return app_.folders_.data; }
    Settings& settings() override { return app_.settings_; }
    const MacroStore& macros() override { return app_.macros_; }
    const ctl::FunctionNameTable* LayoutFunctionNames(std::string& /*problem*/) override {
        return &app_.layout_.functionName;
    }

    ctl::MouseStatus Mouse() override {
        const MouseConnection& connection = app_.link_->connection();
        const auto& socket = app_.commandLine_.virtualMouseSocket;
        ctl::MouseStatus status;
        status.found = connection.connected();
        status.transport =
            socket ? "virtual mouse at " + *socket : "hidraw " + connection.DevicePath();
        if (!status.found) {
            status.problem = "xk-r40 has lost the mouse";
        }
        return status;
    }

    // As a configuration button of the main page does.
    void SelectConfiguration(int32_t n) override {
        Settings& s = app_.settings_;
        s.currentConfig.store(n);
        LoadSettings(s, s.configPath, n, false);
        app_.window_->RequestRepaint();
    }

    // Neither shows a message box: the failure goes back to xk-r40-ctl.
    bool Apply() override { return app_.UploadAndSave(CNUV_DEvoraApp::MouseBudget()).answered; }

    // As the macro page's import, then its save, but saved first.
    bool ReplaceUserMacros(const IniDocument& macros) override {
        if (!SaveThenReplaceUserMacros(app_.macroPage_, macros,
                                       app_.settings_.currentPage == kMacroPage)) {
            return false;
        }
        app_.window_->RequestRepaint();
        return true;
    }

private:
    CNUV_DEvoraApp& app_;
};

std::string CNUV_DEvoraApp::AnswerControlRequest(const std::vector<std::string>& arguments) {
    // A dialog or a popup runs its own loop over the record: changes wait until it is gone.
    const CMenuDlg* const popup = functionPopup_.data();
    const bool functionPopupShown = popup != nullptr && popup->isVisible();
    if (QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr || functionPopupShown) {
        ctl::CommandOutput busy;
        busy.Error("xk-r40 has a dialog or a popup open; close it and try again\n"
                   "Nothing was changed.");
        return ctl::EncodeAnswer(busy, ctl::kExitFailed);
    }
    const ctl::ParsedArguments parsed = ctl::ParseArguments(arguments);
    if (!parsed.error.empty()) {
        return ctl::EncodeRefusal(parsed.error);
    }
    AppControlHost host(*this);
    ctl::CommandOutput output;
    const int status = ctl::RunCommand(parsed.command, host, output);
    return ctl::EncodeAnswer(output, status);
}

} // namespace xk
