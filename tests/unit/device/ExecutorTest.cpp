#include "device/DeviceLink.h"
#include "device/VirtualMouseTransport.h"
#include "settings/IniFile.h"
#include "support/TempDir.h"
#include "support/fakes/RecordingLauncher.h"
#include "support/fakes/RecordingSystemSettings.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace xk {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

constexpr auto kTimeout = 10s;

// Button index -> the mouse's button number: 0 -> 1, 1 -> 2, 2 -> 3, 3 -> 5, 4 -> 4, ...
constexpr int kButton0 = 1;
constexpr int kButton1 = 2;
constexpr int kButton2 = 3;

MacroSlot Macro(std::vector<MacroSlot::Event> events, uint16_t delay, uint8_t repeatEnabled = 0,
                uint16_t repeatCount = 0) {
    MacroSlot slot{};
    slot.eventCount = static_cast<uint8_t>(events.size());
    for (size_t k = 0; k < events.size(); ++k) {
        slot.events[k] = events[k];
        slot.SetDelay(k, delay);
    }
    slot.repeatEnabled = repeatEnabled;
    slot.SetRepeatCount(repeatCount);
    return slot;
}

template <typename Predicate> bool WaitUntil(Predicate predicate) {
    const auto deadline = std::chrono::steady_clock::now() + kTimeout;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The whole device link against the virtual mouse in this process.
class ExecutorTest : public testing::Test {
protected:
    ExecutorTest() {
        settings.configPath = dir / "config.ini";
        settings.currentConfig.store(1);
        settings.dpiEnabled = {1, 1, 1, 1};
    }
    ~ExecutorTest() override { link.Stop(); }

    // Uploads the button functions and waits until the listener reads.
    void Connect(std::vector<int32_t> functions) {
        for (size_t i = 0; i < functions.size(); ++i) {
            settings.buttonFunction[i].store(functions[i]);
        }
        link.Start();
        ASSERT_TRUE(link.connection().FindMouse());
        UploadSettings(settings, link.reports(), system, [this] { ++repaints; });
        ASSERT_TRUE(transport.WaitForReader(kTimeout));
        uploaded = transport.Features().size();
        repaints.store(0);
    }

    // The feature reports sent since the upload.
    std::vector<Bytes> Sent() const {
        auto all = transport.Features();
        return {all.begin() + static_cast<std::ptrdiff_t>(uploaded), all.end()};
    }
    std::vector<VirtualMouse::LogEntry> SentEntries() const {
        std::vector<VirtualMouse::LogEntry> out;
        size_t seen = 0;
        for (const auto& entry : transport.Log()) {
            if (entry.feature && seen++ >= uploaded) {
                out.push_back(entry);
            }
        }
        return out;
    }
    // Passes finished: each pass ends with ReleaseAll's button report.
    size_t Passes() const {
        size_t passes = 0;
        for (const Bytes& report : Sent()) {
            passes += report[1] == 0x16 && report[3] == 0xFF ? 1u : 0u;
        }
        return passes;
    }
    bool WaitHandled(uint64_t count) {
        return WaitUntil([&] { return link.executor().EventsHandled() >= count; });
    }
    bool WaitForListenerToTake() {
        return WaitUntil([&] { return link.flags().eventPending.load(); });
    }

    test::TempDir dir;
    Settings settings;
    MacroStore macros;
    test::RecordingLauncher launcher;
    test::RecordingSystemSettings system;
    std::atomic<int> repaints{0};
    VirtualMouseTransport transport;
    DeviceLink link{transport, settings, macros, launcher, [this] { ++repaints; }};
    size_t uploaded = 0;
};

TEST_F(ExecutorTest, RepeatEnabledWithCountZeroPlaysNothing) {
    macros.userMacros[0] = Macro({{4, 1}, {4, 2}}, 20, 1, 0);
    Connect({41});

    transport.Press(kButton0);
    ASSERT_TRUE(WaitHandled(1));
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ExecutorTest, DelaysOfZeroPlayFifteenMillisecondsApart) {
    macros.userMacros[1] = Macro({{4, 1}, {4, 2}, {0xF0, 1}, {0xF0, 2}}, 0);
    Connect({0, 42});

    transport.Press(kButton1);
    ASSERT_TRUE(WaitHandled(1));

    const auto entries = SentEntries();
    const std::vector<Bytes> expected = {
        {7, 0x15, 4, 0, 0, 0, 0, 0},    {7, 0x15, 0, 0, 0, 0, 0, 0},
        {7, 0x16, 0, 0xFE, 0, 0, 0, 0}, {7, 0x16, 0, 0xFF, 0, 0, 0, 0},
        {7, 0x16, 0, 0xFF, 0, 0, 0, 0}, {7, 0x15, 0, 0, 0, 0, 0, 0},
    };
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(entries[k].bytes, expected[k]) << k;
    }
    // Each event is due 15 ms after the previous one was due; ReleaseAll waits 10 ms before each
    // of its reports. The reports are stamped where the sender thread hands them to the device,
    // so a delivery the machine's load made late shortens the next gap: half of each gap still
    // tells a 15 ms step from none.
    const int64_t minimumGap[] = {15000, 15000, 15000, 25000, 10000};
    for (size_t k = 0; k + 1 < entries.size(); ++k) {
        EXPECT_GE(entries[k + 1].micros - entries[k].micros, minimumGap[k] / 2) << k;
    }
}

TEST_F(ExecutorTest, RepeatOffPlaysOnePassWhateverTheCount) {
    macros.userMacros[0] = Macro({{4, 1}, {4, 2}}, 15, 0, 5);
    Connect({41});

    transport.Press(kButton0);
    ASSERT_TRUE(WaitHandled(1));
    EXPECT_EQ(Passes(), 1u);
    EXPECT_EQ(Sent().size(), 4u);
}

TEST_F(ExecutorTest, DelaysAboveFifteenMillisecondsAreKeptAsGiven) {
    macros.userMacros[0] = Macro({{4, 1}}, 300); // beyond one byte, too
    Connect({41});

    transport.Press(kButton0);
    ASSERT_TRUE(WaitHandled(1));
    const auto entries = SentEntries();
    ASSERT_EQ(entries.size(), 3u);
    // The delay, then ReleaseAll's 10 ms before its first report (a send's jitter aside).
    EXPECT_GE(entries[1].micros - entries[0].micros, 310000 - 2500);
}

TEST_F(ExecutorTest, InModeZeroADpiReportWhilePlayingEndsThePlayback) {
    macros.userMacros[0] = Macro({{4, 1}, {4, 2}}, 15, 1, 1000);
    Connect({41, 15});
    transport.Press(kButton0);
    ASSERT_TRUE(WaitUntil([&] { return Passes() >= 1; }));

    ASSERT_TRUE(transport.SwitchDpi(2)); // the DPI button reports the level: a press
    ASSERT_TRUE(WaitHandled(1));
    EXPECT_LT(Passes(), 1000u);
}

TEST_F(ExecutorTest, InModeZeroASecondPressEndsThePlaybackAndDoesNotRestartIt) {
    macros.userMacros[0] = Macro({{4, 1}, {4, 2}}, 15, 1, 1000);
    Connect({41});

    transport.Press(kButton0);
    transport.Release(kButton0); // ignored in mode 0
    ASSERT_TRUE(WaitUntil([&] { return Passes() >= 2; }));
    transport.Press(kButton0);
    ASSERT_TRUE(WaitHandled(1));
    const size_t passes = Passes();
    EXPECT_LT(passes, 1000u);

    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(Passes(), passes) << "the press that stopped it started nothing";
    EXPECT_EQ(link.executor().EventsHandled(), 1u);
}

TEST_F(ExecutorTest, InModeOneHoldingRepeatsAndReleasingEnds) {
    settings.macroMode.store(1);
    macros.userMacros[2] = Macro({{5, 1}, {5, 2}}, 15); // repeat fields are not read
    Connect({0, 0, 43});

    transport.Press(kButton2);
    ASSERT_TRUE(WaitUntil([&] { return Passes() >= 3; }));
    transport.Press(kButton0); // another press while playing: ignored in mode 1
    ASSERT_TRUE(WaitUntil([&] { return Passes() >= 4; }));
    EXPECT_EQ(link.executor().EventsHandled(), 0u);
    transport.Release(kButton2);
    ASSERT_TRUE(WaitHandled(1));
    const size_t passes = Passes();
    std::this_thread::sleep_for(60ms);
    EXPECT_EQ(Passes(), passes);
}

TEST_F(ExecutorTest, AnyNonButtonReportWhilePlayingEndsThePlayback) {
    macros.userMacros[0] = Macro({{4, 1}}, 15, 1, 1000);
    Connect({41});
    transport.Press(kButton0);
    ASSERT_TRUE(WaitUntil([&] { return Passes() >= 1; }));

    transport.Press(0); // event code 0xF0: not a button
    ASSERT_TRUE(WaitHandled(1));
    EXPECT_LT(Passes(), 1000u);
}

TEST_F(ExecutorTest, ADpiReportSetsTheLevelRepaintsAndSavesIt) {
    Connect({0, 15});

    ASSERT_TRUE(transport.SwitchDpi(3)); // button 2 holds DPI function 15
    ASSERT_TRUE(WaitHandled(1));

    EXPECT_EQ(settings.dpiLevel.load(), 3);
    EXPECT_EQ(repaints.load(), 1);
    EXPECT_EQ(IniRead(settings.configPath, "Config1", "DPI_LEVEL", 10), "3");
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ExecutorTest, ThreeReportRatePressesFromTwoGiveThreeZeroOne) {
    settings.reportRate.store(2);
    Connect({14});

    for (const int expected : {3, 0, 1}) {
        const uint64_t before = link.executor().EventsHandled();
        ASSERT_TRUE(transport.StepReportRate());
        ASSERT_TRUE(WaitHandled(before + 1));
        EXPECT_EQ(settings.reportRate.load(), expected);
    }
    EXPECT_EQ(repaints.load(), 3);
    EXPECT_EQ(IniRead(settings.configPath, "Config1", "USB_SPEED", 10), "1");
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ExecutorTest, AConstantMacroPlaysOnePassWhateverTheModeAndRepeatFields) {
    settings.macroMode.store(1);
    macros.constMacros[7] = Macro({{6, 1}, {6, 2}}, 15, 1, 50);
    Connect({38});

    transport.Press(kButton0);
    ASSERT_TRUE(WaitHandled(1));
    EXPECT_EQ(Passes(), 1u);
    EXPECT_EQ(Sent().size(), 4u);
}

TEST_F(ExecutorTest, AConsumerKeySendsOneReportPerPressAndNothingOnRelease) {
    Connect({24});

    transport.Press(kButton0);
    ASSERT_TRUE(WaitHandled(1));
    transport.Release(kButton0);
    transport.Press(kButton0);
    ASSERT_TRUE(WaitHandled(2));

    const std::vector<Bytes> expected(2, Bytes{7, 0x17, 0x00, 0xE9, 0, 0, 0, 0});
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(transport.State().consumerReports, 2u);
}

TEST_F(ExecutorTest, LaunchersStartTheirProgramsAndOtherCodesDoNothing) {
    Connect({39, 40, 7, 18});

    for (const int button : {1, 2, 3, 5}) {
        const uint64_t before = link.executor().EventsHandled();
        transport.Press(button);
        ASSERT_TRUE(WaitHandled(before + 1));
    }
    EXPECT_EQ(launcher.launched(),
              (std::vector<LaunchTarget>{LaunchTarget::Calculator, LaunchTarget::Terminal}));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(repaints.load(), 0);
}

TEST_F(ExecutorTest, PlaybackPlaysTheSlotAsItWasWhenItStarted) {
    macros.userMacros[0] = Macro({{4, 1}, {4, 2}}, 15, 1, 3);
    Connect({41});

    transport.Press(kButton0);
    ASSERT_TRUE(WaitForListenerToTake());
    ASSERT_TRUE(WaitUntil([&] { return !Sent().empty(); }));
    {
        const std::lock_guard lock(macros.mutex);
        macros.userMacros[0] = Macro({{9, 1}}, 0);
    }
    ASSERT_TRUE(WaitHandled(1));
    for (const Bytes& report : Sent()) {
        if (report[1] == 0x15) {
            EXPECT_TRUE(report[2] == 4 || report[2] == 0);
        }
    }
    EXPECT_EQ(Passes(), 3u);
}

TEST_F(ExecutorTest, StopEndsALongPlaybackAndAnUnpluggedListener) {
    settings.macroMode.store(1);
    macros.userMacros[0] = Macro({{4, 1}}, 1000);
    Connect({41});
    transport.Press(kButton0);
    ASSERT_TRUE(WaitUntil([&] { return !Sent().empty(); }));
    transport.Unplug();

    link.Stop(); // returns without waiting for the 10000 passes
    EXPECT_EQ(Passes(), 0u);
}

TEST_F(ExecutorTest, CloseEndsAPlayingMacroLetsGoOfItsKeysThenSendsTheExitReportLast) {
    macros.userMacros[0] = Macro({{0xF0, 1}, {4, 1}, {4, 2}, {0xF0, 2}}, 5000);
    macros.userMacros[0].SetDelay(0, 15);
    Connect({41});
    transport.Press(kButton0);
    ASSERT_TRUE(WaitUntil([&] { return Sent().size() == 2; })); // button and key held

    SendBudget budget(kInterfaceSendBudget);
    EXPECT_TRUE(link.Close(budget));

    const std::vector<Bytes> expected = {
        {7, 0x16, 0, 0xFE, 0, 0, 0, 0}, {7, 0x15, 4, 0, 0, 0, 0, 0}, {7, 0x16, 4, 0xFF, 0, 0, 0, 0},
        {7, 0x15, 0, 0, 0, 0, 0, 0},    {7, 0x20, 0, 0, 0, 0, 0, 0},
    };
    EXPECT_EQ(Sent(), expected);
    const VirtualMouse::State state = transport.State();
    EXPECT_EQ(state.keys, (std::array<uint8_t, 6>{}));
    EXPECT_EQ(state.mouseButtons, 0xFF);

    link.reports().SendKeyEvent(5, 1); // nothing follows the exit report
    EXPECT_EQ(Sent().size(), expected.size());
}

TEST(DeviceLinkTest, TheThreadStartHookRunsOnBothThreads) {
    Settings settings;
    MacroStore macros;
    test::RecordingLauncher launcher;
    VirtualMouseTransport transport;
    DeviceLink link(transport, settings, macros, launcher, {});
    std::mutex mutex;
    std::set<std::thread::id> threads;
    link.SetThreadStartHook([&] {
        const std::lock_guard lock(mutex);
        threads.insert(std::this_thread::get_id());
    });

    link.Start();
    ASSERT_TRUE(WaitUntil([&] {
        const std::lock_guard lock(mutex);
        return threads.size() == 2;
    }));
    link.Stop();
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
}

} // namespace
} // namespace xk
