#include "LocalHost.h"

#include "ctl/MouseDiagnosis.h"
#include "device/UploadSettings.h"
#include "macro/MacroFile.h"
#include "settings/SettingsIo.h"
#include "ui/layout/LayoutLoader.h"
#include "ui/layout/LayoutPaths.h"

#include <system_error>

namespace xk::ctl {

LocalHost::LocalHost(ProgramFolders folders, CommandLine transportChoice)
    : folders_(std::move(folders)), transportChoice_(std::move(transportChoice)) {
    // As the program starts: leftovers of killed saves removed, the current configuration and
    // the language from [Init].
    RemoveSaveLeftovers(folders_.person);
    settings_.configPath = ConfigPathIn(folders_.person);
    settings_.currentConfig.store(ReadCurrentConfig(settings_.configPath));
    settings_.language = ReadLanguage(settings_.configPath);
    LoadSettings(settings_, settings_.configPath, settings_.currentConfig.load(), false);
    macros_.macroFilePath = MacroFilePathFor(folders_.person, settings_.language);
}

void LocalHost::ShowMessage(std::string_view text) {
    messages_.emplace_back(text);
}

const MacroStore& LocalHost::macros() {
    if (!macrosLoaded_) {
        LoadMacroFile(macros_.macroFilePath, macros_, MacroTarget::User, *this);
        macrosLoaded_ = true;
    }
    return macros_;
}

const FunctionNameTable* LocalHost::LayoutFunctionNames(std::string& problem) {
    const std::filesystem::path file = LayoutPath(SkinsDir(), LayoutKind::Main, settings_.language);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        problem = "cannot read the layout file '" + file.string() + "'";
        return nullptr;
    }
    if (!layout_) {
        layout_ = std::make_unique<SkinLayout>();
        LayoutReader reader(*this, *this);
        LoadMainLayout(reader, SkinsDir(), settings_.language, *layout_);
    }
    return &layout_->functionName;
}

MouseStatus LocalHost::Mouse() {
    if (mouse_) {
        return *mouse_;
    }
    transport_ = MakeTransport(transportChoice_);
    connection_ = std::make_unique<MouseConnection>(*transport_);
    reports_ = std::make_unique<FeatureReports>(*connection_);
    MouseStatus status;
    status.found = connection_->FindMouse() && connection_->WriteHandleOpen();
    if (transportChoice_.virtualMouseSocket) {
        status.transport = "virtual mouse at " + *transportChoice_.virtualMouseSocket;
    } else {
        status.transport = "hidraw " + connection_->DevicePath();
    }
    if (!status.found) {
        status.problem =
            WhyNoMouse(transportChoice_.virtualMouseSocket, folders_.data / "70-xk-r40.rules");
    }
    mouse_ = status;
    return status;
}

void LocalHost::SelectConfiguration(int32_t n) {
    settings_.currentConfig.store(n);
    LoadSettings(settings_, settings_.configPath, n, false);
}

bool LocalHost::Apply() {
    if (!Mouse().found) {
        return true;
    }
    SendBudget budget(kInterfaceSendBudget);
    UploadSettings(settings_, *reports_, system_, {}, budget);
    return budget.answered();
}

bool LocalHost::ReplaceUserMacros(const IniDocument& macros) {
    if (!SaveMacrosOf(macros, macros_.macroFilePath)) {
        return false;
    }
    ReadMacros(macros, macros_, MacroTarget::User);
    macrosLoaded_ = true;
    return true;
}

} // namespace xk::ctl
