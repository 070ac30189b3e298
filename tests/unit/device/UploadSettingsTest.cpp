#include "device/UploadSettings.h"

#include "device/MouseConnection.h"
#include "device/VirtualMouseTransport.h"
#include "settings/IniFile.h"
#include "settings/SettingsIo.h"
#include "support/TempDir.h"
#include "support/fakes/RecordingReportSink.h"
#include "support/fakes/RecordingSystemSettings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace xk {
namespace {

using Bytes = std::vector<uint8_t>;

class UploadSettingsTest : public testing::Test {
protected:
    UploadSettingsTest() {
        settings.configPath = dir / "config.ini";
        settings.currentConfig.store(2);
        const int32_t functions[kButtonCount] = {14, 15, 16, 7, 18, 52, 3, 6};
        for (size_t i = 0; i < kButtonCount; ++i) {
            settings.buttonFunction[i].store(functions[i]);
        }
        settings.dpiLevel.store(2);
        settings.dpiValue = {0, 5, 8, 11};
        settings.dpiEnabled = {1, 1, 1, 1};
        settings.wheelStatus = 1;
        settings.ledMode = 2;
        settings.pointerSpeed = 9;
        settings.wheelSpeed = 2;
        settings.fireTime = 300;
    }

    bool Upload() {
        return UploadSettings(settings, reports, system,
                              [this] { system.calls.push_back("repaint"); });
    }

    Configuration SavedSection(int32_t n) const {
        Settings loaded;
        LoadSettings(loaded, settings.configPath, n, false);
        return ConfigurationOf(loaded);
    }

    test::TempDir dir;
    Settings settings;
    test::RecordingReportSink sink;
    FeatureReports reports{sink};
    test::RecordingSystemSettings system;
};

TEST_F(UploadSettingsTest, SendsEveryReportInOrderWithExactBytes) {
    Upload();

    const std::vector<Bytes> expected = {
        // Button functions: 14 -> 10, 15 -> 11, 16 -> 12, 7 and 18 and 52 -> 0, 3, 6.
        {7, 0x10, 1, 10, 0, 0, 0, 0},
        {7, 0x10, 2, 11, 0, 0, 0, 0},
        {7, 0x10, 3, 12, 0, 0, 0, 0},
        {7, 0x10, 5, 0, 0, 0, 0, 0},
        {7, 0x10, 4, 0, 0, 0, 0, 0},
        {7, 0x10, 6, 0, 0, 0, 0, 0},
        {7, 0x10, 8, 3, 0, 0, 0, 0},
        {7, 0x10, 9, 6, 0, 0, 0, 0},
        {7, 0x11, 1, 0, 0, 0, 0, 0},
        // Level 2 active; steps 0, 5, 8, 11 are device codes 1, 6, 11, 15.
        {7, 0x09, 0x42, 0x18, 0x0F, 0, 0, 0},
        {7, 0x09, 0x42, 0x69, 0x0F, 0, 0, 0},
        {7, 0x09, 0x42, 0xBA, 0x0F, 0, 0, 0},
        {7, 0x09, 0x42, 0xFB, 0x0F, 0, 0, 0},
        // The LED report leaves byte 4 as the DPI reports left it.
        {7, 0x13, 0x7F, 0x16, 0x0F, 0, 0, 0},
        {7, 0x12, 0, 37, 0, 0, 0, 0},
    };
    EXPECT_EQ(sink.sent, expected);

    const std::array<uint8_t, kDpiLevelCount> deviceCodes = {1, 6, 11, 15};
    EXPECT_EQ(settings.dpiDeviceCode, deviceCodes);
    EXPECT_EQ(settings.appliedLedMode, 2);
    const int32_t dpiFollow[kButtonCount] = {0, 1, 1, 0, 0, 0, 0, 1};
    const int32_t rateFollow[kButtonCount] = {1, 0, 0, 0, 0, 0, 0, 0};
    for (size_t i = 0; i < kButtonCount; ++i) {
        EXPECT_EQ(settings.dpiFollow[i].load(), dpiFollow[i]) << i;
        EXPECT_EQ(settings.rateFollow[i].load(), rateFollow[i]) << i;
    }
    // pointerSpeed 9 is speed 18; wheelSpeed 2 is 3 lines; the repaint comes first.
    EXPECT_EQ(system.calls, (std::vector<std::string>{"repaint", "get speed", "set speed 18",
                                                      "get wheel", "set wheel 3"}));
}

TEST_F(UploadSettingsTest, SavesCurrentConfigAndBothSections) {
    IniWrite(settings.configPath, "Config2", "K0", "1");
    EXPECT_TRUE(Upload());

    EXPECT_EQ(ReadCurrentConfig(settings.configPath), 2);
    EXPECT_EQ(SavedSection(6), ConfigurationOf(settings));
    EXPECT_EQ(SavedSection(2), ConfigurationOf(settings));
}

// Reports, desktop settings and file writes in one log, with what config.ini holds as each
// report goes out.
class LoggingSink final : public FeatureReportSink {
public:
    LoggingSink(std::vector<std::string>& log, std::filesystem::path config)
        : log_(log), config_(std::move(config)) {}
    SendOutcome SendFeatureReport(std::span<const uint8_t, kReportBufferSize> buffer,
                                  SendBudget& /*budget*/) override {
        char command[8];
        std::snprintf(command, sizeof command, "%02x", buffer[1]);
        // Which of [Init] CurConfig, [Config6] and [Config2] the file holds.
        const IniDocument doc = LoadIniDocument(config_).value_or(IniDocument{});
        std::string held;
        held += doc.Get("Init", "CurConfig") ? "I" : "";
        held += doc.HasSection("Config6") ? "6" : "";
        held += doc.HasSection("Config2") ? "2" : "";
        log_.push_back(std::string("report ") + command + " [" + held + "]");
        return SendOutcome::Sent;
    }

private:
    std::vector<std::string>& log_;
    std::filesystem::path config_;
};

TEST_F(UploadSettingsTest, DesktopSettingsAndFileWritesComeInTheirPlaces) {
    LoggingSink logging(system.calls, settings.configPath);
    FeatureReports logged(logging);

    UploadSettings(settings, logged, system, [this] { system.calls.push_back("repaint"); });

    // CurConfig and Config6 before the first report, the current section after the last.
    std::vector<std::string> expected(8, "report 10 [I6]");
    expected.insert(expected.end(),
                    {"report 11 [I6]", "report 09 [I6]", "report 09 [I6]", "report 09 [I6]",
                     "report 09 [I6]", "report 13 [I6]", "repaint", "get speed", "set speed 18",
                     "get wheel", "set wheel 3", "report 12 [I6]"});
    EXPECT_EQ(system.calls, expected);
    EXPECT_EQ(ReadCurrentConfig(settings.configPath), 2);
    EXPECT_EQ(SavedSection(6), ConfigurationOf(settings));
    EXPECT_EQ(SavedSection(2), ConfigurationOf(settings));
}

TEST_F(UploadSettingsTest, RecomputesFollowFlagsAndEnableBitsEachTime) {
    Upload();
    for (auto& function : settings.buttonFunction) {
        function.store(41);
    }
    settings.dpiEnabled = {0, 0, 1, 0};
    sink.sent.clear();

    Upload();

    for (size_t i = 0; i < kButtonCount; ++i) {
        EXPECT_EQ(settings.dpiFollow[i].load(), 0);
        EXPECT_EQ(settings.rateFollow[i].load(), 0);
    }
    ASSERT_EQ(sink.sent.size(), 15u);
    for (size_t j = 9; j < 13; ++j) {
        EXPECT_EQ(sink.sent[j][4], 0x04) << "only level 2 enabled";
    }
}

TEST_F(UploadSettingsTest, ValuesBeyondTheTablesStayInBounds) {
    settings.dpiValue = {12, 255, 11, 0};
    settings.ledMode = 9;
    settings.dpiLevel.store(300);
    settings.fireTime = -8;

    Upload();

    ASSERT_EQ(sink.sent.size(), 15u);
    // A step beyond the table is sent as the highest step; the level wraps to a byte.
    EXPECT_EQ(sink.sent[9], (Bytes{7, 0x09, 0x6C, 0xF8, 0x0F, 0, 0, 0}));
    EXPECT_EQ(sink.sent[10], (Bytes{7, 0x09, 0x6C, 0xF9, 0x0F, 0, 0, 0}));
    // An LED mode beyond the table is sent and applied as mode 0.
    EXPECT_EQ(sink.sent[13], (Bytes{7, 0x13, 0x7F, 0x10, 0x0F, 0, 0, 0}));
    EXPECT_EQ(settings.appliedLedMode, 0);
    EXPECT_EQ(sink.sent[14], (Bytes{7, 0x12, 0xFF, 0xFF, 0, 0, 0, 0}));
}

TEST_F(UploadSettingsTest, FailedQueriesLeaveTheDesktopAlone) {
    system.pointerSpeed.reset();
    system.wheelLines.reset();

    Upload();

    EXPECT_EQ(system.calls, (std::vector<std::string>{"repaint", "get speed", "get wheel"}));
}

TEST_F(UploadSettingsTest, WithoutAWriteHandleStateAndFilesStillChange) {
    VirtualMouseTransport transport;
    MouseConnection connection(transport); // never scanned: no handle
    FeatureReports unsent(connection);

    UploadSettings(settings, unsent, system, {});

    EXPECT_TRUE(transport.Features().empty());
    EXPECT_EQ(settings.dpiFollow[1].load(), 1);
    EXPECT_EQ(unsent.Buffer()[1], 0x12);
    EXPECT_EQ(SavedSection(2), ConfigurationOf(settings));
}

TEST_F(UploadSettingsTest, ASaveThatFailsSaysSoAndTheMouseGetsEverythingAllTheSame) {
    for (const auto& unwritable : {dir / "no such folder" / "config.ini", dir.path()}) {
        SCOPED_TRACE(unwritable.string());
        sink.sent.clear();
        settings.configPath = unwritable;
        EXPECT_FALSE(Upload());
        EXPECT_EQ(sink.sent.size(), 15u);
    }
}

TEST(PointerSpeedTest, MapsRecordValuesToDesktopSpeeds) {
    const int expected[] = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 18};
    for (uint8_t speed = 0; speed <= 10; ++speed) {
        EXPECT_EQ(DesktopPointerSpeedOf(speed), expected[speed]) << int{speed};
    }
    EXPECT_EQ(DesktopPointerSpeedOf(255), 18);
}

} // namespace
} // namespace xk
