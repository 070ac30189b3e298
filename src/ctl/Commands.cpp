#include "ctl/Commands.h"

#include "ctl/Assignments.h"
#include "ctl/ExitCodes.h"
#include "ctl/Help.h"
#include "device/MouseProtocol.h"
#include "device/UploadSettings.h"
#include "macro/MacroFile.h"
#include "macro/MacroFileCheck.h"
#include "settings/ConfigurationFields.h"
#include "settings/FactoryReset.h"
#include "settings/FunctionCode.h"
#include "settings/IniFile.h"
#include "settings/Language.h"
#include "settings/Profile.h"
#include "settings/SettingsIo.h"
#include "settings/SmallFile.h"
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

// config.ini as an upload of `config` as configuration n leaves it, in one replacement, before
// anything changes or is sent: a file that cannot be written stops the command whole.
bool SaveBeforeUpload(ControlHost& host, CommandOutput& output, const Configuration& config,
                      int32_t n) {
    const std::filesystem::path& file = host.settings().configPath;
    Settings copy;
    ApplyConfiguration(copy, config);
    const auto entries = ConfigurationEntries(copy);
    IniBatch batch(file);
    batch.Set(kInitSection, "CurConfig", std::to_string(n));
    for (const int32_t section : {kUploadConfig, n}) {
        for (const auto& [key, value] : entries) {
            batch.Set(ConfigSectionName(section), key, value);
        }
    }
    if (batch.Commit()) {
        return true;
    }
    output.Error("cannot save into " + Quoted(file) + "\nNothing was changed.");
    return false;
}

std::string CurrentConfigText(ControlHost& host) {
    return "configuration " + std::to_string(host.settings().currentConfig.load());
}

int ApplyAndCheck(ControlHost& host, CommandOutput& output, const std::string& done) {
    if (!host.Apply()) {
        output.Error("the mouse does not answer: " + CurrentConfigText(host) +
                     " is saved but did not reach it; apply again when it answers");
        return kExitFailed;
    }
    const int status = CheckSaved(host, output);
    if (status == kExitDone) {
        output.Print(done);
    }
    return status;
}

// Configuration n as config.ini holds it.
Configuration SavedConfiguration(ControlHost& host, int32_t n) {
    Settings saved;
    LoadSettings(saved, host.settings().configPath, n, false);
    return ConfigurationOf(saved);
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
            const std::string name = PrintableText((*names).ShownName(value));
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
        line += PrintableText((*names).ShownName(code));
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
    if (!SaveBeforeUpload(host, output, *outcome.config, settings.currentConfig.load())) {
        return kExitFailed;
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
    const ProfileRead read = ReadProfile(command.file);
    if (!read.config) {
        output.Error(ProfileMessage(read.problem, command.file, kLanguageEnglish, read.fault));
        return read.problem == ProfileProblem::Unreadable ? kExitFailed : kExitRefused;
    }
    if (!RequireMouse(host, output)) {
        return kExitNoMouse;
    }
    Settings& settings = host.settings();
    if (!SaveBeforeUpload(host, output, *read.config, settings.currentConfig.load())) {
        return kExitFailed;
    }
    ApplyConfiguration(settings, *read.config);
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
        output.Print(std::to_string(kFirstUserMacroCode + i) + "  " +
                     PrintableText(Utf8FromUtf16(slot.Name())) + "  (" +
                     std::to_string(slot.eventCount) + " events, " + plays + ")");
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
    const MacroFileRead read = ReadMacroFileToImport(command.file);
    if (!read.doc) {
        output.Error(MacroFileMessage(read.problem, command.file, kLanguageEnglish, read.fault));
        return read.problem == MacroFileProblem::Unreadable ? kExitFailed : kExitRefused;
    }
    if (!host.ReplaceUserMacros(*read.doc)) {
        output.Error("cannot save the macros into " + Quoted(host.macros().macroFilePath) +
                     "\nNothing was changed.");
        return kExitFailed;
    }
    output.Print(std::to_string(host.macros().userMacroCount) + " user macros imported from " +
                 Quoted(command.file) + " and saved into " + Quoted(host.macros().macroFilePath));
    return kExitDone;
}

int Reset(ControlHost& host, CommandOutput& output) {
    Settings& settings = host.settings();
    const auto factoryMacros = DefaultMacroFilePath(host.DataFolder() / "skins", settings.language);
    const SmallFileRead factory = LoadSmallIniDocument(factoryMacros);
    if (!factory.doc) {
        output.Error("cannot read the factory macros " + Quoted(factoryMacros) +
                     "\nNothing was reset.");
        return kExitFailed;
    }
    if (!RequireMouse(host, output)) {
        return kExitNoMouse;
    }
    // The macros first: a macro file that cannot be written stops the reset before anything
    // else changes.
    if (!host.ReplaceUserMacros(*factory.doc)) {
        output.Error("cannot save the factory macros into " + Quoted(host.macros().macroFilePath) +
                     "\nNothing was reset.");
        return kExitFailed;
    }
    const Configuration before = ConfigurationOf(settings);
    if (!ResetConfigurations(settings, settings.configPath)) {
        ApplyConfiguration(settings, before);
        output.Error("the macros were reset, but the configurations could not be saved into " +
                     Quoted(settings.configPath) + "; nothing was sent to the mouse");
        return kExitFailed;
    }
    return ApplyAndCheck(host, output,
                         "factory reset done; " + CurrentConfigText(host) + " applied");
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
        if (!SaveBeforeUpload(host, output, SavedConfiguration(host, command.configuration),
                              command.configuration)) {
            return kExitFailed;
        }
        host.SelectConfiguration(command.configuration);
        return ApplyAndCheck(host, output, CurrentConfigText(host) + " is current and applied");
    case Verb::Set:
        return Set(command, host, output);
    case Verb::Apply:
        if (!RequireMouse(host, output)) {
            return kExitNoMouse;
        }
        if (!SaveBeforeUpload(host, output, ConfigurationOf(host.settings()),
                              host.settings().currentConfig.load())) {
            return kExitFailed;
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
