#include "settings/Profile.h"

#include "settings/IniFile.h"
#include "settings/SettingsIo.h"
#include "settings/SmallFile.h"
#include "support/TempDir.h"
#include "support/fakes/RecordingMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace xk {
namespace {

using test::ReadFile;
using test::RecordingMessages;
using test::TempDir;
using test::WriteFile;

// Every configuration field away from its default and at the ends of its range: codes that the
// popups do not offer, the active DPI level among the disabled ones.
void FillUnusual(Settings& s) {
    const int32_t codes[kButtonCount] = {1, 41, 0, 52, 54, 14, 30, 39};
    for (size_t i = 0; i < kButtonCount; ++i) {
        s.buttonFunction[i] = codes[i];
    }
    s.dpiLevel = 3;
    s.wheelStatus = 1;
    s.macroMode = 1;
    s.dpiValue = {11, 0, 5, 7};
    s.dpiEnabled = {0, 1, 0, 0};
    s.ledMode = 3;
    s.pointerSpeed = 9;
    s.wheelSpeed = 0;
    s.reportRate = 3;
    s.fireTime = 300;
}

TEST(Profile, ExportThenImportGivesBackEveryFieldAndNothingElse) {
    TempDir dir;
    const std::string config = "[Init]\nCurConfig=3\nVER_SEL=1\n[Config3]\nK0=1\n";
    WriteFile(dir / "config.ini", config);
    RecordingMessages messages;

    Settings exported;
    FillUnusual(exported);
    exported.currentConfig = 3;
    exported.language = 1;
    exported.configPath = dir / "config.ini";
    ASSERT_TRUE(ExportProfileFile(exported, dir / "mine.ini", messages));
    const std::string text = ReadFile(dir / "mine.ini");
    EXPECT_EQ(text.rfind("[Config7]\r\nK0=1\r\nK1=41\r\n", 0), 0u) << "a new file, CR LF: " << text;
    EXPECT_EQ(text.find("CurConfig"), std::string::npos);
    EXPECT_EQ(text.find("VER_SEL"), std::string::npos);

    Settings imported;
    imported.currentConfig = 2;
    imported.language = 0;
    imported.configPath = dir / "config.ini";
    ASSERT_TRUE(ImportProfileFile(imported, dir / "mine.ini", messages));
    EXPECT_EQ(ConfigurationOf(imported), ConfigurationOf(exported));
    EXPECT_EQ(imported.currentConfig, 2);
    EXPECT_EQ(imported.language, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ReadFile(dir / "config.ini"), config) << "import and export leave config.ini alone";
}

TEST(Profile, ExportIntoAnExistingFileKeepsTheRestOfIt) {
    TempDir dir;
    const auto file = dir / "shared.ini";
    WriteFile(file, "; my notes\r\n[Other]\r\nname=mine\r\n"
                    "[config7]\r\nK0=9\r\nEXTRA=keep\r\n[Tail]\r\nx=1\r\n");
    Settings s;
    FillUnusual(s);
    RecordingMessages messages;
    ASSERT_TRUE(ExportProfileFile(s, file, messages));

    const std::string text = ReadFile(file);
    EXPECT_EQ(
        text.rfind("; my notes\r\n[Other]\r\nname=mine\r\n[config7]\r\nK0=1\r\nEXTRA=keep\r\n", 0),
        0u)
        << text;
    EXPECT_NE(text.find("FIRE_TIME=300\r\n[Tail]\r\nx=1\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("\n[Config7]"), std::string::npos) << "no second section";

    Settings back;
    ASSERT_TRUE(ImportProfileFile(back, file, messages));
    EXPECT_EQ(ConfigurationOf(back), ConfigurationOf(s));
}

TEST(Profile, ProfileWrittenOnWindowsImports) {
    const std::filesystem::path fixture =
        std::filesystem::path(XK_FIXTURE_DIR) / "profiles" / "windows_crlf.ini";
    ASSERT_NE(ReadFile(fixture).find("\r\n"), std::string::npos) << "the fixture lost its CR LF";
    Settings s;
    RecordingMessages messages;
    ASSERT_TRUE(ImportProfileFile(s, fixture, messages));

    Configuration expected;
    expected.buttonFunction = {1, 2, 3, 41, 4, 6, 14, 28};
    expected.dpiLevel = 2;
    expected.wheelStatus = 1;
    expected.macroMode = 1;
    expected.dpiValue = {3, 5, 7, 11};
    expected.dpiEnabled = {1, 1, 0, 1};
    expected.ledMode = 3;
    expected.pointerSpeed = 7;
    expected.wheelSpeed = 4;
    expected.reportRate = 3;
    expected.fireTime = 120;
    EXPECT_EQ(ConfigurationOf(s), expected);
}

TEST(Profile, FileThatIsNoProfileIsRefusedAndChangesNothing) {
    TempDir dir;
    std::filesystem::create_directory(dir / "folder.ini");
    WriteFile(dir / "empty.ini", "");
    WriteFile(dir / "config.ini", "[Init]\nVER_SEL=1\n[Config1]\nK0=1\nFIRE_TIME=50\n");
    WriteFile(dir / "foreign.ini", "[Config7]\nNAME=not ours\nK10=3\n");
    struct Case {
        const char* file;
        ProfileProblem problem;
        int32_t language;
    };
    const Case cases[] = {
        {"missing.ini", ProfileProblem::Unreadable, 1},
        {"folder.ini", ProfileProblem::Unreadable, 0},
        {"empty.ini", ProfileProblem::NotAProfile, 1},
        {"config.ini", ProfileProblem::NotAProfile, 0},
        {"foreign.ini", ProfileProblem::NotAProfile, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Settings s;
        FillUnusual(s);
        s.language = c.language;
        const Configuration before = ConfigurationOf(s);
        RecordingMessages messages;
        EXPECT_FALSE(ImportProfileFile(s, dir / c.file, messages));
        EXPECT_EQ(ConfigurationOf(s), before);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0], ProfileMessage(c.problem, dir / c.file, c.language));
    }
}

// A whole profile as an export writes it, with one key's line replaced (or dropped for "").
std::string ProfileWith(const std::string& key, const std::string& line) {
    Settings s;
    ApplyBuiltInDefaults(s);
    std::string text = "[Config7]\n";
    for (const auto& [k, v] : ConfigurationEntries(s)) {
        text += k == key ? line : k + "=" + v + "\n";
    }
    return text;
}

TEST(Profile, ProfileTheWindowCouldNotMakeIsRefusedNamingTheFirstBadKey) {
    TempDir dir;
    struct Case {
        std::string text;
        ProfileProblem problem;
        std::string fault;
    };
    const std::string k1Off = ProfileWith("K0", "K0=2\n");
    const Case cases[] = {
        // Every key present.
        {"[Config7]\nK0=3\nFIRE_TIME=50\n", ProfileProblem::BadValue, "K1 is missing"},
        {ProfileWith("USB_SPEED", ""), ProfileProblem::BadValue, "USB_SPEED is missing"},
        // Each a number in its range.
        {ProfileWith("DPI_SET1", "DPI_SET1=12\n"), ProfileProblem::BadValue, "DPI_SET1=12"},
        {ProfileWith("FIRE_TIME", "FIRE_TIME=301\n"), ProfileProblem::BadValue, "FIRE_TIME=301"},
        {ProfileWith("K4", "K4=55\n"), ProfileProblem::BadValue, "K4=55 (K4 takes 0..54)"},
        {ProfileWith("K4", "K4=-1\n"), ProfileProblem::BadValue, "K4=-1"},
        {ProfileWith("LED_STATUS", "LED_STATUS=260\n"), ProfileProblem::BadValue, "LED_STATUS"},
        {ProfileWith("DPI_SET_EN2", "DPI_SET_EN2=7\n"), ProfileProblem::BadValue, "DPI_SET_EN2"},
        {ProfileWith("DPI_SPEED", "DPI_SPEED=fast\n"), ProfileProblem::BadValue, "DPI_SPEED=fast"},
        {ProfileWith("DPI_LEVEL", "DPI_LEVEL=\n"), ProfileProblem::BadValue, "DPI_LEVEL="},
        // One button the left button, one DPI level enabled.
        {k1Off, ProfileProblem::BadValue, "no button is the left button"},
        {[] {
             std::string t = ProfileWith("DPI_SET_EN0", "DPI_SET_EN0=0\n");
             for (const char* key : {"DPI_SET_EN1=1", "DPI_SET_EN2=1", "DPI_SET_EN3=1"}) {
                 t.replace(t.find(key), std::string(key).size(), std::string(key, 12) + "0");
             }
             return t;
         }(),
         ProfileProblem::BadValue, "no DPI level is enabled"},
        // Larger than 1 MiB, even when the profile in it is sound.
        {ProfileWith("", "") + std::string(kSmallFileLimit, ';'), ProfileProblem::TooLarge, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault.empty() ? c.text.substr(0, 40) : c.fault);
        const auto file = dir / "bad.ini";
        WriteFile(file, c.text);
        Settings s;
        FillUnusual(s);
        s.language = 1;
        const Configuration before = ConfigurationOf(s);
        RecordingMessages messages;
        EXPECT_FALSE(ImportProfileFile(s, file, messages));
        EXPECT_EQ(ConfigurationOf(s), before);
        EXPECT_EQ(ReadFile(file), c.text);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.shown[0].find(file.string()), std::string::npos) << messages.shown[0];
        EXPECT_NE(messages.shown[0].find(c.fault), std::string::npos) << messages.shown[0];
        EXPECT_EQ(messages.shown[0], ProfileMessage(c.problem, file, 1, ReadProfile(file).fault));
    }
    // The sound profile these are made from imports.
    WriteFile(dir / "good.ini", ProfileWith("", ""));
    EXPECT_TRUE(ReadProfile(dir / "good.ini").config.has_value());
}

TEST(Profile, MessagesNameTheFileInTheInterfaceLanguage) {
    const std::filesystem::path file = "/home/me/profile.ini";
    for (const auto problem :
         {ProfileProblem::Unreadable, ProfileProblem::NotAProfile, ProfileProblem::NotWritten}) {
        const std::string english = ProfileMessage(problem, file, 1);
        const std::string chinese = ProfileMessage(problem, file, 0);
        EXPECT_NE(english.find(file.string()), std::string::npos);
        EXPECT_NE(chinese.find(file.string()), std::string::npos);
        EXPECT_NE(english, chinese);
        EXPECT_EQ(ProfileMessage(problem, file, 2), english) << "any other value is English";
    }
    EXPECT_NE(ProfileMessage(ProfileProblem::Unreadable, file, 1),
              ProfileMessage(ProfileProblem::NotAProfile, file, 1));
}

TEST(Profile, FailedExportSaysSo) {
    TempDir dir;
    std::filesystem::create_directory(dir / "folder.ini");
    for (const auto& file : {dir / "no such folder" / "p.ini", dir / "folder.ini"}) {
        SCOPED_TRACE(file.string());
        Settings s;
        s.language = 0;
        RecordingMessages messages;
        EXPECT_FALSE(ExportProfileFile(s, file, messages));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0], ProfileMessage(ProfileProblem::NotWritten, file, 0));
    }
}

} // namespace
} // namespace xk
