#pragma once

#include "ctl/ControlHost.h"
#include "device/FeatureReports.h"
#include "device/HidTransport.h"
#include "device/MouseConnection.h"
#include "platform/ProgramFolders.h"
#include "platform/SessionSystemSettings.h"
#include "platform/TransportChoice.h"
#include "settings/UserMessages.h"
#include "ui/layout/ExitProcedure.h"
#include "ui/layout/SkinLayout.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace xk::ctl {

// xk-r40-ctl as the owner while xk-r40 does not run: the record of the current configuration
// from config.ini, the user macros of the current language and the mouse, each read when a
// command first needs it, all through the program's own core code.
class LocalHost final : public ControlHost, public UserMessages, public ExitProcedure {
public:
    LocalHost(ProgramFolders folders, CommandLine transportChoice);

    bool IsProgram() const override { return false; }
    std::filesystem::path DataFolder() const override { return folders_.data; }
    Settings& settings() override { return settings_; }
    const MacroStore& macros() override;
    const FunctionNameTable* LayoutFunctionNames(std::string& problem) override;
    MouseStatus Mouse() override;
    void SelectConfiguration(int32_t n) override;
    bool Apply() override;
    bool ReplaceUserMacros(const IniDocument& macros) override;

    // What the core code would show in a message box; xk-r40-ctl checks files itself first.
    void ShowMessage(std::string_view text) override;
    // A layout file that went missing while it was read.
    void ExitProgram() override {}

private:
    std::filesystem::path SkinsDir() const { return folders_.data / "skins"; }

    ProgramFolders folders_;
    CommandLine transportChoice_;
    Settings settings_;
    MacroStore macros_;
    bool macrosLoaded_ = false;
    std::unique_ptr<SkinLayout> layout_;
    std::optional<MouseStatus> mouse_;
    std::unique_ptr<HidTransport> transport_;
    std::unique_ptr<MouseConnection> connection_;
    std::unique_ptr<FeatureReports> reports_;
    SessionSystemSettings system_;
    std::vector<std::string> messages_;
};

} // namespace xk::ctl
