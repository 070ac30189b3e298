#include "device/FeatureReports.h"

#include "support/fakes/RecordingReportSink.h"

#include <gtest/gtest.h>

#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace xk {
namespace {

using Bytes = std::vector<uint8_t>;

struct KeyStep {
    uint8_t keyCode;
    uint8_t action;
};

struct KeyEventCase {
    std::string name;
    std::vector<KeyStep> steps;
    Bytes lastReport;
    std::array<uint8_t, 6> keys;
    uint8_t buttons;
};

void PrintTo(const KeyEventCase& c, std::ostream* os) {
    *os << c.name;
}

class SendKeyEventTest : public testing::TestWithParam<KeyEventCase> {};

TEST_P(SendKeyEventTest, UpdatesHeldKeysAndSendsOneReportPerCall) {
    const KeyEventCase& c = GetParam();
    test::RecordingReportSink sink;
    FeatureReports reports(sink);
    for (const KeyStep& step : c.steps) {
        reports.SendKeyEvent(step.keyCode, step.action);
    }
    ASSERT_EQ(sink.sent.size(), c.steps.size());
    EXPECT_EQ(sink.sent.back(), c.lastReport);
    EXPECT_EQ(reports.PressedKeys(), c.keys);
    EXPECT_EQ(reports.MouseButtonState(), c.buttons);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SendKeyEventTest,
    testing::Values(KeyEventCase{"SeventhKeyIsNotHeld",
                                 {{4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}, {10, 1}},
                                 {7, 0x15, 4, 5, 6, 7, 8, 9},
                                 {4, 5, 6, 7, 8, 9},
                                 0xFF},
                    KeyEventCase{"ReleasingTheUnheldSeventhClearsTheSixthSlot",
                                 {{4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}, {10, 1}, {10, 2}},
                                 {7, 0x15, 4, 5, 6, 7, 8, 0},
                                 {4, 5, 6, 7, 8, 0},
                                 0xFF},
                    KeyEventCase{"ReleaseMovesLaterSlotsDown",
                                 {{4, 1}, {5, 1}, {6, 1}, {5, 2}},
                                 {7, 0x15, 4, 6, 0, 0, 0, 0},
                                 {4, 6, 0, 0, 0, 0},
                                 0xFF},
                    KeyEventCase{"AHeldKeyIsAddedAgainAndReleasedOnce",
                                 {{4, 1}, {4, 1}, {4, 2}},
                                 {7, 0x15, 4, 0, 0, 0, 0, 0},
                                 {4, 0, 0, 0, 0, 0},
                                 0xFF},
                    KeyEventCase{"OtherActionsSendUnchangedKeys",
                                 {{4, 1}, {5, 3}, {4, 0}},
                                 {7, 0x15, 4, 0, 0, 0, 0, 0},
                                 {4, 0, 0, 0, 0, 0},
                                 0xFF},
                    KeyEventCase{"PressingButtonsClearsTheirBits",
                                 {{0xF0, 1}, {0xF1, 1}, {0xF2, 1}},
                                 {7, 0x16, 0, 0xF8, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 0xF8},
                    KeyEventCase{"ReleasingAnUnpressedButtonSendsTheUnchangedState",
                                 {{0xF0, 2}},
                                 {7, 0x16, 0, 0xFF, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 0xFF},
                    KeyEventCase{"CodesAboveTheMiddleButtonChangeNothing",
                                 {{0xF1, 1}, {0xF3, 1}, {0xFF, 2}, {0xF1, 7}},
                                 {7, 0x16, 0, 0xFD, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 0xFD},
                    KeyEventCase{"AButtonReportLeavesTheKeyBytesAsTheyWere",
                                 {{4, 1}, {5, 1}, {0xF2, 1}},
                                 {7, 0x16, 4, 0xFB, 0, 0, 0, 0},
                                 {4, 5, 0, 0, 0, 0},
                                 0xFB}),
    [](const auto& param) { return param.param.name; });

TEST(FeatureReportsTest, ReleaseAllReleasesButtonsThenKeys) {
    test::RecordingReportSink sink;
    FeatureReports reports(sink);
    reports.SendKeyEvent(0xF1, 1);
    reports.SendKeyEvent(0x2C, 1);
    reports.SendKeyEvent(0x04, 1);
    reports.SendKeyEvent(0x05, 1);
    sink.sent.clear();

    reports.ReleaseAll();

    ASSERT_EQ(sink.sent.size(), 2u);
    // Bytes 2 and 4 still hold keys from the last key report.
    EXPECT_EQ(sink.sent[0], (Bytes{7, 0x16, 0x2C, 0xFF, 0x05, 0, 0, 0}));
    EXPECT_EQ(sink.sent[1], (Bytes{7, 0x15, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(reports.MouseButtonState(), 0xFF);
}

TEST(FeatureReportsTest, CommandsWriteOnlyTheirOwnBytes) {
    test::RecordingReportSink sink;
    FeatureReports reports(sink);
    SendBudget budget(kInterfaceSendBudget);
    reports.SendFireTime(0x7FF8, budget); // byte 2..7 all written
    reports.SendKeyEvent(4, 1);
    reports.SendKeyEvent(5, 1);
    reports.SendKeyEvent(6, 1);
    reports.SendConsumerKey(24);
    reports.SendConsumerKey(20); // not a consumer code: nothing sent
    reports.SendExitReport(budget);
    reports.SendLedMode(6, budget);
    reports.SendButtonFunction(3, 0, budget);
    reports.SendWheelStatus(0x1FF, budget);
    reports.SendDpiLevel(1, 0xC2, 15, 0x05, budget);

    const std::vector<Bytes> expected = {
        {7, 0x12, 0x0F, 0xFF, 0, 0, 0, 0}, {7, 0x15, 4, 0, 0, 0, 0, 0},
        {7, 0x15, 4, 5, 0, 0, 0, 0},       {7, 0x15, 4, 5, 6, 0, 0, 0},
        {7, 0x17, 0x00, 0xE9, 6, 0, 0, 0}, {7, 0x20, 0, 0, 6, 0, 0, 0},
        {7, 0x13, 0x7F, 0x16, 6, 0, 0, 0}, {7, 0x10, 5, 0, 6, 0, 0, 0},
        {7, 0x11, 0xFF, 0, 6, 0, 0, 0},    {7, 0x09, 0x02, 0xF9, 0x05, 0, 0, 0},
    };
    EXPECT_EQ(sink.sent, expected);
    EXPECT_EQ(reports.Buffer()[8], 0); // bytes 8 and later are never written
}

TEST(FeatureReportsTest, ConsumerKeysSendTheirConsumerPageUsages) {
    test::RecordingReportSink sink;
    FeatureReports reports(sink);
    // AC Home, AL Consumer Control Configuration, AL Email Reader, Volume Increment, Volume
    // Decrement, Scan Previous Track, Scan Next Track, Mute, Play/Pause, AL Calculator.
    const std::pair<int32_t, uint16_t> usages[] = {
        {21, 0x0223}, {22, 0x0183}, {23, 0x018A}, {24, 0x00E9}, {25, 0x00EA},
        {26, 0x00B6}, {27, 0x00B5}, {28, 0x00E2}, {29, 0x00CD}, {30, 0x0192},
    };
    for (const auto& [code, usage] : usages) {
        sink.sent.clear();
        reports.SendConsumerKey(code);
        ASSERT_EQ(sink.sent.size(), 1u) << code;
        EXPECT_EQ(sink.sent[0][1], 0x17) << code;
        EXPECT_EQ(sink.sent[0][2] << 8 | sink.sent[0][3], usage) << code;
    }
}

// Keeps every report whole; a little slow, so a report composed without the lock would be
// overwritten by the other thread while it is being sent.
class SlowSink final : public FeatureReportSink {
public:
    SendOutcome SendFeatureReport(std::span<const uint8_t, kReportBufferSize> buffer,
                                  SendBudget& /*budget*/) override {
        Bytes report(buffer.begin(), buffer.begin() + 8);
        std::this_thread::yield();
        report[7] = buffer[7];
        report[1] = buffer[1];
        const std::lock_guard lock(mutex);
        sent.push_back(std::move(report));
        return SendOutcome::Sent;
    }
    std::mutex mutex;
    std::vector<Bytes> sent;
};

TEST(FeatureReportsTest, TwoThreadsSendingAtOnceNeverMixTheirBytes) {
    SlowSink sink;
    FeatureReports reports(sink);
    constexpr int kRounds = 2000;
    std::thread executor([&] {
        for (int i = 0; i < kRounds; ++i) {
            reports.SendKeyEvent(0x04, 1);
            reports.SendKeyEvent(0x04, 2);
        }
    });
    for (int i = 0; i < kRounds; ++i) {
        const auto level = static_cast<size_t>(i % 4);
        SendBudget budget(kInterfaceSendBudget);
        reports.SendDpiLevel(level, 1, 0x0F, 0x0F, budget);
    }
    executor.join();

    ASSERT_EQ(sink.sent.size(), 3u * kRounds);
    for (const Bytes& r : sink.sent) {
        if (r[1] == 0x15) {
            // A key report: byte 2 holds the key or nothing, the other slots are empty.
            EXPECT_TRUE((r[2] == 0x04 || r[2] == 0) && r[3] == 0 && r[4] == 0 && r[7] == 0)
                << testing::PrintToString(r);
        } else {
            ASSERT_EQ(r[1], 0x09);
            // A DPI report: level j has byte 3 = 0xF8 + j, and its enable bits.
            EXPECT_TRUE(r[2] == 0x41 && (r[3] & 0xFC) == 0xF8 && r[4] == 0x0F)
                << testing::PrintToString(r);
        }
    }
}

} // namespace
} // namespace xk
