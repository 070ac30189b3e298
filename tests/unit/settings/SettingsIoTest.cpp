#include "settings/SettingsIo.h"

#include "settings/IniFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace xk {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(LoadSettings, WithoutConfigIniEverythingIsZero) {
    TempDir dir;
    const auto file = dir / "config.ini";
    Settings s;
    ApplyBuiltInDefaults(s);
    s.macroMode = 3;
    LoadSettings(s, file, 1, false);
    EXPECT_EQ(ConfigurationOf(s), Configuration{});
    EXPECT_EQ(ReadCurrentConfig(file), 0);
    EXPECT_EQ(ReadLanguage(file), 0);
    EXPECT_FALSE(std::filesystem::exists(file)) << "a load writes nothing";
}

TEST(LoadSettings, ReadsValuesAsThePrivateProfileCapacitiesAllow) {
    TempDir dir;
    const auto file = dir / "config.ini";
    WriteFile(file, "[Config2]\n"
                    "K0=1\nK3=12345\nK7=-7\n"
                    "DPI_LEVEL=2\nWHEEL_STATUS=1\n"
                    "DPI_SET0=4\nDPI_SET1=268\nDPI_SET2=123456789012\n"
                    "DPI_SET_EN0=0\nDPI_SET_EN1=7\nDPI_SET_EN2=x\n"
                    "LED_STATUS=260\nDPI_SPEED=9\nWHEEL_SPEED= 3\nUSB_SPEED=1\nFIRE_TIME=30000\n");
    Settings s;
    s.macroMode = 5;
    LoadSettings(s, file, 2, false);
    const Configuration c = ConfigurationOf(s);
    EXPECT_EQ(c.buttonFunction, (std::array<int32_t, 8>{1, 0, 0, 1234, 0, 0, 0, -7}));
    EXPECT_EQ(c.dpiLevel, 2);
    EXPECT_EQ(c.wheelStatus, 1);
    EXPECT_EQ(c.macroMode, 0) << "missing MACRO_MODE2 loads 0";
    // DPI_SET keeps the low byte of nine characters: 123456789 & 0xFF = 21.
    EXPECT_EQ(c.dpiValue, (std::array<uint8_t, 4>{4, 12, 21, 0}));
    EXPECT_EQ(c.dpiEnabled, (std::array<uint8_t, 4>{0, 1, 0, 0}));
    EXPECT_EQ(c.ledMode, 4);
    EXPECT_EQ(c.pointerSpeed, 9);
    EXPECT_EQ(c.wheelSpeed, 3);
    EXPECT_EQ(c.reportRate, 1);
    EXPECT_EQ(c.fireTime, 3000) << "four characters are read";

    SaveSettings(s, file, 2);
    EXPECT_EQ(IniRead(file, "Config2", "DPI_SET_EN1", 10), "1");
}

TEST(LoadSettings, ResetSourceDependsOnLanguageOnlyForConfigurationFive) {
    TempDir dir;
    const auto file = dir / "config.ini";
    WriteFile(file, "[CfgReset2]\nK0=2\n[CfgReset4]\nK0=4\n"
                    "[CfgReset5]\nK0=5\n[CfgReset_EN5]\nK0=55\n[Config5]\nK0=9\n");
    struct Case {
        int32_t language;
        int32_t n;
        bool fromReset;
        int32_t k0;
    };
    const Case cases[] = {{1, 5, true, 55}, {0, 5, true, 5},  {1, 2, true, 2}, {0, 4, true, 4},
                          {1, 4, true, 4},  {1, 5, false, 9}, {7, 5, true, 5}, {1, 3, true, 0}};
    for (const auto& c : cases) {
        Settings s;
        s.language = c.language;
        LoadSettings(s, file, c.n, c.fromReset);
        EXPECT_EQ(s.buttonFunction[0], c.k0)
            << "language " << c.language << " config " << c.n << " reset " << c.fromReset;
    }
}

TEST(SaveSettings, CreatesASectionWithTheKeysInSaveOrder) {
    TempDir dir;
    const auto file = dir / "config.ini";
    WriteFile(file, "[Init]\nCurConfig=1\n");
    Settings s;
    ApplyBuiltInDefaults(s);
    s.macroMode = 1;
    s.dpiEnabled[2] = 9;
    s.ledMode = 200;
    s.fireTime = -8;
    SaveSettings(s, file, 3);
    EXPECT_EQ(ReadFile(file), "[Init]\nCurConfig=1\n"
                              "[Config3]\n"
                              "K0=1\nK1=2\nK2=3\nK3=5\nK4=4\nK5=16\nK6=15\nK7=13\n"
                              "DPI_LEVEL=0\nWHEEL_STATUS=0\nMACRO_MODE2=1\n"
                              "DPI_SET0=4\nDPI_SET_EN0=1\nDPI_SET1=6\nDPI_SET_EN1=1\n"
                              "DPI_SET2=8\nDPI_SET_EN2=1\nDPI_SET3=10\nDPI_SET_EN3=1\n"
                              "LED_STATUS=200\nDPI_SPEED=5\nWHEEL_SPEED=2\nUSB_SPEED=2\n"
                              "FIRE_TIME=-8\n");
    Settings back;
    LoadSettings(back, file, 3, false);
    Configuration expected = ConfigurationOf(s);
    expected.dpiEnabled[2] = 1;
    EXPECT_EQ(ConfigurationOf(back), expected);
}

TEST(SaveSettings, SingleKeySavesTouchOnlyTheirKey) {
    TempDir dir;
    const auto file = dir / "config.ini";
    WriteFile(file, "[Config1]\nK0=1\nDPI_LEVEL=0\nUSB_SPEED=0\n");
    Settings s;
    s.dpiLevel = 3;
    s.reportRate = 1;
    s.buttonFunction[0] = 40;
    SaveDpiLevel(s, file, 1);
    SaveReportRate(s, file, 1);
    EXPECT_EQ(ReadFile(file), "[Config1]\nK0=1\nDPI_LEVEL=3\nUSB_SPEED=1\n");
}

TEST(InitSection, LanguageIsTheLowByteAndCurConfigHasFourCharacters) {
    TempDir dir;
    const auto file = dir / "config.ini";
    WriteFile(file, "[Init]\nVER_SEL=257\nCurConfig=12345\n");
    EXPECT_EQ(ReadLanguage(file), 1);
    EXPECT_EQ(ReadCurrentConfig(file), 1234);
    WriteLanguage(file, 0);
    WriteCurrentConfig(file, 4);
    EXPECT_EQ(ReadFile(file), "[Init]\nVER_SEL=0\nCurConfig=4\n");
}

} // namespace
} // namespace xk
