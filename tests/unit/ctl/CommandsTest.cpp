#include "ctl/Commands.h"

#include "ctl/ExitCodes.h"
#include "device/UploadSettings.h"
#include "macro/MacroFile.h"
#include "settings/FactoryReset.h"
#include "settings/IniFile.h"
#include "settings/SettingsIo.h"
#include "support/TempDir.h"
#include "support/fakes/RecordingReportSink.h"
#include "support/fakes/RecordingSystemSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace xk::ctl {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

constexpr const char* kConfigIni = "[Init]\nCurConfig=1\nVER_SEL=1\n"
                                   "[Config1]\nK0=1\nK1=2\nK2=3\nK3=5\nK4=4\nK5=16\nK6=15\nK7=41\n"
                                   "DPI_LEVEL=0\nDPI_SET0=4\nDPI_SET_EN0=1\nDPI_SET1=6\n"
                                   "DPI_SET_EN1=1\nFIRE_TIME=50\n"
                                   "[Config3]\nK0=1\nDPI_SET_EN0=1\nDPI_SET_EN1=1\nFIRE_TIME=240\n"
                                   "[CfgReset2]\nK0=1\nFIRE_TIME=8\n";

// A message shown by the core code would be a bug here: every file is checked first.
class NoMessages final : public UserMessages {
public:
    void ShowMessage(std::string_view text) override { ADD_FAILURE() << text; }
};

// The owner as xk-r40-ctl is without a program: the files of a folder and a recorded mouse.
class FakeHost final : public ControlHost {
public:
    FakeHost() {
        WriteFile(dir / "config.ini", kConfigIni);
        std::filesystem::create_directories(dir / "skins" / "INI_EN");
        WriteFile(dir / "skins" / "INI_EN" / "defMacro.dat", "[Macros]\nmacroNum=0\n");
        settings_.configPath = dir / "config.ini";
        settings_.currentConfig.store(ReadCurrentConfig(settings_.configPath));
        settings_.language = ReadLanguage(settings_.configPath);
        LoadSettings(settings_, settings_.configPath, 1, false);
        macros_.macroFilePath = dir / "Macro_EN.dat";
        WriteFile(macros_.macroFilePath, "[Macros]\nmacroNum=1\n0=066000117000\n");
        LoadMacroFile(macros_.macroFilePath, macros_, MacroTarget::User, messages_);
        names[1] = "Left Click";
        names[24] = "Volume Up";
        names[41] = "User Macro 1";
    }

    bool IsProgram() const override { return false; }
    std::filesystem::path DataFolder() const override { return dir.path(); }
    Settings& settings() override { return settings_; }
    const MacroStore& macros() override { return macros_; }
    const FunctionNameTable* LayoutFunctionNames(std::string&) override { return &names; }
    MouseStatus Mouse() override {
        return {mouseFound, "virtual mouse at test.sock", mouseFound ? "" : "nothing at test.sock"};
    }
    void SelectConfiguration(int32_t n) override {
        calls.push_back("select " + std::to_string(n));
        settings_.currentConfig.store(n);
        LoadSettings(settings_, settings_.configPath, n, false);
    }
    bool Apply() override {
        calls.push_back("apply");
        UploadSettings(settings_, reports, system, {});
        return mouseAnswers;
    }
    bool ReplaceUserMacros(const IniDocument& doc) override {
        calls.push_back("macros");
        if (!SaveMacrosOf(doc, macros_.macroFilePath)) {
            return false;
        }
        ReadMacros(doc, macros_, MacroTarget::User);
        return true;
    }

    TempDir dir;
    bool mouseFound = true;
    bool mouseAnswers = true;
    FunctionNameTable names{};
    std::vector<std::string> calls;
    test::RecordingReportSink sink;
    FeatureReports reports{sink};
    test::RecordingSystemSettings system;

private:
    Settings settings_;
    MacroStore macros_;
    NoMessages messages_;
};

class CommandsTest : public testing::Test {
protected:
    int Run(const std::vector<std::string>& words) {
        const ParsedArguments parsed = ParseArguments(words);
        EXPECT_EQ(parsed.error, "");
        output = CommandOutput();
        return RunCommand(parsed.command, host, output);
    }
    std::string Errors() const { return output.Text(true); }
    std::string Printed() const { return output.Text(false); }

    FakeHost host;
    CommandOutput output;
};

TEST_F(CommandsTest, RefusedCommandsChangeNothing) {
    const std::string whole = "[Config7]\nK0=1\nK1=2\nK2=3\nK3=5\nK4=4\nK5=16\nK6=15\nK7=13\n"
                              "DPI_LEVEL=0\nWHEEL_STATUS=0\nMACRO_MODE2=0\nDPI_SET0=4\n"
                              "DPI_SET_EN0=1\nDPI_SET1=6\nDPI_SET_EN1=1\nDPI_SET2=8\n"
                              "DPI_SET_EN2=1\nDPI_SET3=10\nDPI_SET_EN3=1\nLED_STATUS=0\n"
                              "DPI_SPEED=5\nWHEEL_SPEED=2\nUSB_SPEED=2\nFIRE_TIME=16\n";
    WriteFile(host.dir / "no-profile.ini", "[Config1]\nK0=1\n");
    WriteFile(host.dir / "profile.ini", whole);
    WriteFile(host.dir / "no-macros.dat", "[Other]\nmacroNum=3\n");
    WriteFile(host.dir / "no-count.dat", "[Macros]\n0=065000\n");
    WriteFile(host.dir / "many.dat", "[Macros]\nmacroNum=99\n0=065000\n");
    struct Case {
        std::vector<std::string> words;
        bool mouse;
        int status;
        std::string fragment;
    };
    const std::string dir = host.dir.path().string();
    const std::vector<Case> cases = {
        {{"set", "DPI_SET1", "99"}, true, kExitRefused, "DPI_SET1 takes 0..11"},
        {{"set", "K7", "Volume Up", "K0", "24"}, true, kExitRefused, "no button would be Left"},
        {{"set", "FIRE_TIME", "100"}, false, kExitNoMouse, "no mouse: nothing at test.sock"},
        {{"config", "3"}, false, kExitNoMouse, "no mouse"},
        {{"apply"}, false, kExitNoMouse, "no mouse"},
        {{"reset", "--yes"}, false, kExitNoMouse, "no mouse"},
        {{"profile", "import", dir + "/profile.ini"}, false, kExitNoMouse, "no mouse"},
        {{"profile", "import", dir + "/missing.ini"}, true, kExitFailed, "Cannot read"},
        {{"profile", "import", dir + "/no-profile.ini"}, true, kExitRefused, "is not a profile"},
        {{"macros", "import", dir + "/missing.dat"}, true, kExitFailed, "Cannot read the macro"},
        {{"macros", "import", dir + "/no-macros.dat"}, true, kExitRefused, "no [Macros] section"},
        {{"macros", "import", dir + "/no-count.dat"}, true, kExitRefused, "macroNum is missing"},
        {{"macros", "import", dir + "/many.dat"}, true, kExitRefused, "macroNum=99"},
        {{"profile", "export", dir + "/no/such/folder/p.ini"}, true, kExitFailed, "Cannot save to"},
        {{"macros", "export", dir + "/no/such/folder/m.dat"}, true, kExitFailed, "cannot write"},
    };
    const std::string config = ReadFile(host.dir / "config.ini");
    const std::string macros = ReadFile(host.dir / "Macro_EN.dat");
    const Configuration record = ConfigurationOf(host.settings());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.words));
        host.mouseFound = c.mouse;
        EXPECT_EQ(Run(c.words), c.status);
        EXPECT_NE(Errors().find(c.fragment), std::string::npos) << Errors();
        EXPECT_TRUE(host.calls.empty());
        EXPECT_TRUE(host.sink.sent.empty());
        EXPECT_EQ(ReadFile(host.dir / "config.ini"), config);
        EXPECT_EQ(ReadFile(host.dir / "Macro_EN.dat"), macros);
        EXPECT_EQ(ConfigurationOf(host.settings()), record);
    }

    // The reset needs the factory macros before it touches anything.
    std::filesystem::remove(host.dir / "skins" / "INI_EN" / "defMacro.dat");
    host.mouseFound = true;
    EXPECT_EQ(Run({"reset", "--yes"}), kExitFailed);
    EXPECT_NE(Errors().find("cannot read the factory macros"), std::string::npos);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(ReadFile(host.dir / "config.ini"), config);
}

TEST_F(CommandsTest, ConfigSetAndImportEachSaveAndUploadOnce) {
    EXPECT_EQ(Run({"config", "3"}), kExitDone) << Errors();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"select 3", "apply"}));
    EXPECT_EQ(ReadCurrentConfig(host.dir / "config.ini"), 3);
    EXPECT_EQ(host.sink.sent.size(), 15u);
    EXPECT_EQ(host.sink.sent.back(), (std::vector<uint8_t>{7, 0x12, 0, 30, 0, 0, 0, 0}));

    host.calls.clear();
    EXPECT_EQ(Run({"set", "k3", "volume up", "DPI_SET_EN0", "0", "DPI_SET1", "7"}), kExitDone)
        << Errors();
    EXPECT_EQ(host.calls, std::vector<std::string>{"apply"});
    EXPECT_NE(Printed().find("DPI_LEVEL moves to 1"), std::string::npos) << Printed();
    Settings saved;
    LoadSettings(saved, host.dir / "config.ini", 3, false);
    EXPECT_EQ(saved.buttonFunction[3].load(), 24);
    EXPECT_EQ(saved.dpiValue[1], 7);
    EXPECT_EQ(saved.dpiLevel.load(), 1);

    // A profile written by export comes back by import, into the current configuration.
    const std::string profile = (host.dir / "p.ini").string();
    EXPECT_EQ(Run({"profile", "export", profile}), kExitDone) << Errors();
    EXPECT_EQ(Run({"config", "1"}), kExitDone);
    host.calls.clear();
    EXPECT_EQ(Run({"profile", "import", profile}), kExitDone) << Errors();
    EXPECT_EQ(host.calls, std::vector<std::string>{"apply"});
    LoadSettings(saved, host.dir / "config.ini", 1, false);
    EXPECT_EQ(saved.buttonFunction[3].load(), 24);
    EXPECT_EQ(saved.fireTime, 240);
}

TEST_F(CommandsTest, AFileThatCannotBeSavedStopsTheCommandBeforeAnythingChanges) {
    const std::string profile = (host.dir / "p.ini").string();
    ASSERT_EQ(Run({"profile", "export", profile}), kExitDone);
    WriteFile(host.dir / "two.dat", "[Macros]\nmacroNum=0\n");
    const Configuration record = ConfigurationOf(host.settings());
    // A file is replaced through a rename, which a folder of that name stops.
    std::filesystem::remove(host.dir / "config.ini");
    std::filesystem::create_directory(host.dir / "config.ini");
    std::filesystem::remove(host.dir / "Macro_EN.dat");
    std::filesystem::create_directory(host.dir / "Macro_EN.dat");
    const std::vector<std::vector<std::string>> commands = {
        {"apply"},
        {"config", "3"},
        {"set", "FIRE_TIME", "100"},
        {"profile", "import", profile},
        {"macros", "import", (host.dir / "two.dat").string()},
        {"reset", "--yes"},
    };
    for (const auto& words : commands) {
        SCOPED_TRACE(testing::PrintToString(words));
        EXPECT_EQ(Run(words), kExitFailed);
        const std::string file =
            words[0] == "macros" || words[0] == "reset" ? "Macro_EN.dat" : "config.ini";
        EXPECT_NE(Errors().find((host.dir / file).string() + "'"), std::string::npos) << Errors();
        EXPECT_TRUE(host.sink.sent.empty()) << "nothing is sent";
        EXPECT_EQ(ConfigurationOf(host.settings()), record);
        EXPECT_EQ(host.settings().currentConfig.load(), 1);
        EXPECT_EQ(host.macros().userMacroCount, 1);
    }
}

TEST_F(CommandsTest, AMouseThatDoesNotAnswerFailsEveryUploadAndSaysSo) {
    const std::string profile = (host.dir / "p.ini").string();
    ASSERT_EQ(Run({"profile", "export", profile}), kExitDone);
    host.mouseAnswers = false;
    const std::vector<std::vector<std::string>> commands = {
        {"apply"},
        {"config", "3"},
        {"set", "FIRE_TIME", "100"},
        {"profile", "import", profile},
        {"reset", "--yes"},
    };
    for (const auto& words : commands) {
        SCOPED_TRACE(testing::PrintToString(words));
        EXPECT_EQ(Run(words), kExitFailed);
        EXPECT_NE(Errors().find("the mouse does not answer"), std::string::npos) << Errors();
        EXPECT_EQ(Printed().find("applied"), std::string::npos) << Printed();
    }
}

TEST_F(CommandsTest, StatusShowsTheNamesTheWindowShowsAndTheMouse) {
    EXPECT_EQ(Run({"status"}), kExitDone);
    const std::string status = Printed();
    EXPECT_NE(status.find("mouse: connected, virtual mouse at test.sock\n"), std::string::npos);
    EXPECT_NE(status.find("configuration: 1\nK0=1 (Left Click)\n"), std::string::npos) << status;
    EXPECT_NE(status.find("K7=41 (Bu)\n"), std::string::npos) << status; // the macro's name
    EXPECT_NE(status.find("DPI_SET1=6 (1600 DPI)\n"), std::string::npos) << status;
    host.mouseFound = false;
    EXPECT_EQ(Run({"status"}), kExitNoMouse);
    EXPECT_NE(Printed().find("mouse: not found: nothing at test.sock"), std::string::npos);
}

TEST_F(CommandsTest, MacrosListExportAndImport) {
    EXPECT_EQ(Run({"macros", "list"}), kExitDone);
    EXPECT_EQ(Printed(), "41  Bu  (0 events, plays once)\n");
    const std::string file = (host.dir / "out.dat").string();
    EXPECT_EQ(Run({"macros", "export", file}), kExitDone) << Errors();
    WriteFile(host.dir / "two.dat", "[Macros]\nmacroNum=2\n0=065000\n1=066000\n");
    EXPECT_EQ(Run({"macros", "import", (host.dir / "two.dat").string()}), kExitDone) << Errors();
    EXPECT_EQ(host.calls, std::vector<std::string>{"macros"});
    EXPECT_NE(ReadFile(host.dir / "Macro_EN.dat").find("macroNum=2"), std::string::npos);
    EXPECT_EQ(Run({"macros", "list"}), kExitDone);
    EXPECT_EQ(Printed(), "41  A  (0 events, plays once)\n42  B  (0 events, plays once)\n");
    EXPECT_NE(ReadFile(file).find("macroNum=1"), std::string::npos);
}

} // namespace
} // namespace xk::ctl
