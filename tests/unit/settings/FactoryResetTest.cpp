#include "settings/FactoryReset.h"

#include "settings/IniFile.h"
#include "settings/SettingsIo.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace xk {
namespace {

using test::TempDir;
using test::WriteFile;

// config.ini with user values in every section and a distinct first button and fire time in
// each factory section.
constexpr const char* kConfigIni = "[Init]\nCurConfig=3\nVER_SEL=0\n"
                                   "[Config1]\nK0=40\nMACRO_MODE2=0\nFIRE_TIME=8\n"
                                   "[Config2]\nK0=40\nFIRE_TIME=8\n"
                                   "[Config3]\nK0=40\nFIRE_TIME=8\n"
                                   "[Config4]\nK0=40\nFIRE_TIME=8\n"
                                   "[Config5]\nK0=40\nFIRE_TIME=8\n"
                                   "[CfgReset2]\nK0=2\nK1=1\nFIRE_TIME=20\nLED_STATUS=1\n"
                                   "[CfgReset3]\nK0=3\nK1=1\nFIRE_TIME=30\nMACRO_MODE2=1\n"
                                   "[CfgReset4]\nK0=4\nK1=1\nFIRE_TIME=40\n"
                                   "[CfgReset5]\nK0=5\nK1=1\nFIRE_TIME=50\n"
                                   "[CfgReset_EN5]\nK0=55\nK1=1\nFIRE_TIME=550\nDPI_SET2=9\n";

Configuration SectionValues(const std::filesystem::path& file, const std::string& section) {
    Settings s;
    const auto doc = LoadIniDocument(file);
    ReadSettings(s, doc ? &*doc : nullptr, section);
    return ConfigurationOf(s);
}

TEST(FactoryReset, ConfigurationsComeFromTheirFactorySources) {
    struct Case {
        int32_t language;
        const char* sourceOf5;
    };
    // Only exactly 1 reads the English source of configuration 5.
    for (const Case c : {Case{1, "CfgReset_EN5"}, Case{0, "CfgReset5"}, Case{2, "CfgReset5"}}) {
        SCOPED_TRACE(c.language);
        TempDir dir;
        const auto file = dir / "config.ini";
        WriteFile(file, kConfigIni);
        Settings s;
        s.language = c.language;
        s.currentConfig = 3;
        s.macroMode = 1;
        s.buttonFunction[0] = 41;

        EXPECT_TRUE(ResetConfigurations(s, file));

        Settings defaults;
        ApplyBuiltInDefaults(defaults);
        defaults.macroMode = 1; // the macro mode the record had
        EXPECT_EQ(SectionValues(file, "Config1"), ConfigurationOf(defaults));
        EXPECT_EQ(SectionValues(file, "Config2"), SectionValues(file, "CfgReset2"));
        EXPECT_EQ(SectionValues(file, "Config3"), SectionValues(file, "CfgReset3"));
        EXPECT_EQ(SectionValues(file, "Config4"), SectionValues(file, "CfgReset4"));
        EXPECT_EQ(SectionValues(file, "Config5"), SectionValues(file, c.sourceOf5));
        EXPECT_EQ(ConfigurationOf(s), SectionValues(file, "CfgReset3"))
            << "the record holds the reset current configuration";
        EXPECT_EQ(s.currentConfig, 3);
        EXPECT_EQ(s.language, c.language);
        EXPECT_EQ(IniRead(file, "Init", "CurConfig", 5), "3");
        EXPECT_EQ(IniRead(file, "Init", "VER_SEL", 5), "0");
        EXPECT_EQ(IniRead(file, "CfgReset5", "FIRE_TIME", 5), "50") << "sources stay as they are";
    }
}

TEST(FactoryReset, ASectionThatCannotBeSavedSaysSo) {
    TempDir dir;
    std::filesystem::create_directory(dir / "config.ini"); // there, but no file
    Settings s;
    EXPECT_FALSE(ResetConfigurations(s, dir / "config.ini"));
    EXPECT_FALSE(ResetConfigurations(s, dir / "no such folder" / "config.ini"));
}

} // namespace
} // namespace xk
