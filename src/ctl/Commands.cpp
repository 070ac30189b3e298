#include "ctl/Commands.h"

#include "ctl/Assignments.h"
#include "ctl/ConfigurationFields.h"
#include "ctl/ExitCodes.h"
#include "ctl/Help.h"
#include "device/MouseProtocol.h"
#include "macro/MacroFile.h"
#include "settings/FunctionCode.h"
#include "settings/IniFile.h"
#include "settings/Language.h"
#include "settings/Profile.h"
#include "settings/SettingsIo.h"
#include "settings/TextCodec.h"

#include <algorithm>

namespace xk::ctl {

namespace {

std::string Quoted(const std::filesystem::path& file) {
    return "'" + file.string() + "'";
}

// The names, or a table of empty names with the reason on standard error.
class NamesOrBlank {
public:
    // `report`: the reason goes to standard error when the names are missing.
    NamesOrBlank(ControlHost& host, CommandOutput& output, bool report = true) {
        std::string problem;
        table_ = host.LayoutFunctionNames(problem);
        if (table_ == nullptr) {
            if (report) {
                output.Error("no function names: " + problem);
            }
            table_ = &blank_;
        }
        names_.emplace(*table_, host.macros());
    }
    bool Missing() const { return table_ == &blank_; }
    const FunctionNameTable& table() const { return *table_; }
    const FunctionNames& operator*() const { return *names_; }

private:
    FunctionNameTable blank_{};
    const FunctionNameTable* table_ = nullptr;
    std::optional<FunctionNames> names_;
};

bool RequireMouse(ControlHost& host, CommandOutput& output) {
    const MouseStatus mouse = host.Mouse();
    if (!mouse.found) {
        output.Error("no mouse: " + mouse.problem + "\nNothing was changed.");
    }
    return mouse.found;
}

// After an upload: config.ini holds the record as the current configuration.
int CheckSaved(ControlHost& host, CommandOutput& output) {
    Settings& settings = host.settings();
    Settings saved;
    LoadSettings(saved, settings.configPath, settings.currentConfig.load(), false);
    if (ConfigurationOf(saved) == ConfigurationOf(settings) &&
        ReadCurrentConfig(settings.configPath) == settings.currentConfig.load()) {
        return kExitDone;
    }
    output.Error("the mouse has the configuration, but it could not be saved into " +
                 Quoted(settings.configPath));
    return kExitFailed;
}

int ApplyAndCheck(ControlHost& host, CommandOutput& output, const std::string& done) {
    host.Apply();
    const int status = CheckSaved(host, output);
    if (status == kExitDone) {
        output.Print(done);
    }
    return status;
}

std::string CurrentConfigText(ControlHost& host) {
    return "configuration " + std::to_string(host.settings().currentConfig.load());
}

int Status(ControlHost& host, CommandOutput& output) {
    const MouseStatus mouse = host.Mouse();
    output.Print(mouse.found ? "mouse: connected, " + mouse.transport
                             : "mouse: not found: " + mouse.problem);
    output.Print(host.IsProgram() ? "owner: xk-r40 (running)"
                                  : "owner: xk-r40-ctl (xk-r40 is not running)");
    const Settings& settings = host.settings();
    output.Print(std::string("language: ") +
                 (IsEnglish(settings.language) ? "English" : "Chinese"));
    output.Print("configuration: " + std::to_string(settings.currentConfig.load()));
    const NamesOrBlank names(host, output);
    const Configuration config = ConfigurationOf(settings);
    for (const ConfigurationField& field : ConfigurationFields()) {
        const int32_t value = ValueOf(config, field);
        std::string line = field.key + "=" + std::to_string(value);
        if (field.kind == FieldKind::ButtonFunction) {
            const std::string name = (*names).ShownName(value);
            if (!name.empty()) {
                line += " (" + name + ")";
            }
        } else if (field.kind == FieldKind::DpiStep && value >= 0 && value < kDpiStepCount) {
            line += " (" +
                    std::to_string(DpiDisplayValue(DpiStepCodeOf(static_cast<uint8_t>(value)))) +
                    " DPI)";
        }
        output.Print(line);
    }
    return mouse.found ? kExitDone : kExitNoMouse;
}

int Functions(ControlHost& host, CommandOutput& output) {
    const NamesOrBlank names(host, output);
    if (names.Missing()) {
        return kExitFailed;
    }
    for (const int32_t code : (*names).OfferedCodes()) {
        std::string line = (code < 10 ? " " : "") + std::to_string(code) + "  ";
        line += (*names).ShownName(code);
        if (code >= kFirstUserMacroCode) {
            line += " (" + names.table()[static_cast<size_t>(code)] + ")";
        }
        output.Print(line);
    }
    return kExitDone;
}

int Set(const Command& command, ControlHost& host, CommandOutput& output) {
    const bool namesUsed =
        std::any_of(command.assignments.begin(), command.assignments.end(), [](const auto& pair) {
            const ConfigurationField* field = FindConfigurationField(pair.first);
            return field != nullptr && field->kind == FieldKind::ButtonFunction;
        });
    const NamesOrBlank names(host, output, namesUsed);
    Settings& settings = host.settings();
    const AssignmentsOutcome outcome =
        ApplyAssignments(ConfigurationOf(settings), command.assignments, *names);
    if (!outcome.config) {
        output.Error(outcome.error + "\nNothing was changed.");
        return kExitRefused;
    }
    if (!RequireMouse(host, output)) {
        return kExitNoMouse;
    }
    for (const std::string& note : outcome.notes) {
        output.Print(note);
    }
    ApplyConfiguration(settings, *outcome.config);
    return ApplyAndCheck(host, output, CurrentConfigText(host) + " changed and applied");
}

int ProfileExport(const Command& command, ControlHost& host, CommandOutput& output) {
    if (!SaveSettings(host.settings(), command.file, kProfileConfig)) {
        output.Error(ProfileMessage(ProfileProblem::NotWritten, command.file, kLanguageEnglish));
        return kExitFailed;
    }
    output.Print(CurrentConfigText(host) + " written to " + Quoted(command.file));
    return kExitDone;
}

int ProfileImport(const Command& command, ControlHost& host, CommandOutput& output) {
    const auto doc = LoadIniDocument(command.file);
    const std::string section = ConfigSectionName(kProfileConfig);
    if (!doc || !HasConfigurationKey(*doc, section)) {
        output.Error(ProfileMessage(doc ? ProfileProblem::NotAProfile : ProfileProblem::Unreadable,
                                    command.file, kLanguageEnglish));
        return kExitFailed;
    }
    if (!RequireMouse(host, output)) {
        return kExitNoMouse;
    }
    ReadSettings(host.settings(), &*doc, section);
    return ApplyAndCheck(host, output,
                         Quoted(command.file) + " imported into " + CurrentConfigText(host) +
                             " and applied");
}

int MacrosList(ControlHost& host, CommandOutput& output) {
    const MacroStore& store = host.macros();
    const int32_t count = std::clamp<int32_t>(store.userMacroCount, 0, kUsableUserMacros);
    if (count == 0) {
        output.Print("no user macros");
    }
    for (int32_t i = 0; i < count; ++i) {
        const MacroSlot slot = store.CopyUserMacro(static_cast<size_t>(i));
        const std::string plays = slot.repeatEnabled != 0
                                      ? "repeats " + std::to_string(slot.RepeatCount()) + " times"
                                      : "plays once";
        output.Print(std::to_string(kFirstUserMacroCode + i) + "  " + Utf8FromUtf16(slot.Name()) +
                     "  (" + std::to_string(slot.eventCount) + " events, " + plays + ")");
    }
    return kExitDone;
}

int MacrosExport(const Command& command, ControlHost& host, CommandOutput& output) {
    const MacroStore& store = host.macros();
    if (!SaveMacroFile(command.file, store)) {
        output.Error("cannot write the macro file " + Quoted(command.file));
        return kExitFailed;
    }
    output.Print(std::to_string(store.userMacroCount) + " user macros written to " +
                 Quoted(command.file));
    return kExitDone;
}

int MacrosImport(const Command& command, ControlHost& host, CommandOutput& output) {
    const auto doc = LoadIniDocument(command.file);
    if (!doc) {
        output.Error("cannot read the macro file " + Quoted(command.file) +
                     "\nNothing was changed.");
        return kExitFailed;
    }
    if (!doc->HasSection(kMacroSection)) {
        output.Error(Quoted(command.file) + " is not a macro file: it has no [" + kMacroSection +
                     "] section\nNothing was changed.");
        return kExitFailed;
    }
    if (!host.ReplaceUserMacros(command.file)) {
        output.Error("the macros were imported but could not be saved into " +
                     Quoted(host.macros().macroFilePath));
        return kExitFailed;
    }
    output.Print(std::to_string(host.macros().userMacroCount) + " user macros imported from " +
                 Quoted(command.file) + " and saved into " + Quoted(host.macros().macroFilePath));
    return kExitDone;
}

int Reset(ControlHost& host, CommandOutput& output) {
    const auto factoryMacros =
        DefaultMacroFilePath(host.ProgramDirectory() / "skins", host.settings().language);
    if (!LoadIniDocument(factoryMacros)) {
        output.Error("cannot read the factory macros " + Quoted(factoryMacros) +
                     "\nNothing was reset.");
        return kExitFailed;
    }
    if (!RequireMouse(host, output)) {
        return kExitNoMouse;
    }
    host.FactoryReset();
    const int status = CheckSaved(host, output);
    if (status == kExitDone) {
        output.Print("factory reset done; " + CurrentConfigText(host) + " applied");
    }
    return status;
}

} // namespace

int RunCommand(const Command& command, ControlHost& host, CommandOutput& output) {
    switch (command.verb) {
    case Verb::Help:
        output.Print(HelpText(command.helpTopic));
        return kExitDone;
    case Verb::Status:
        return Status(host, output);
    case Verb::Functions:
        return Functions(host, output);
    case Verb::Config:
        if (command.configuration < kFirstConfiguration ||
            command.configuration > kLastConfiguration) {
            output.Error("configuration " + std::to_string(command.configuration) +
                         " is not one of 1..5");
            return kExitRefused;
        }
        if (!RequireMouse(host, output)) {
            return kExitNoMouse;
        }
        host.SelectConfiguration(command.configuration);
        return ApplyAndCheck(host, output, CurrentConfigText(host) + " is current and applied");
    case Verb::Set:
        return Set(command, host, output);
    case Verb::Apply:
        if (!RequireMouse(host, output)) {
            return kExitNoMouse;
        }
        return ApplyAndCheck(host, output, CurrentConfigText(host) + " applied");
    case Verb::ProfileExport:
        return ProfileExport(command, host, output);
    case Verb::ProfileImport:
        return ProfileImport(command, host, output);
    case Verb::MacrosList:
        return MacrosList(host, output);
    case Verb::MacrosExport:
        return MacrosExport(command, host, output);
    case Verb::MacrosImport:
        return MacrosImport(command, host, output);
    case Verb::Reset:
        return Reset(host, output);
    }
    return kExitRefused;
}

} // namespace xk::ctl
