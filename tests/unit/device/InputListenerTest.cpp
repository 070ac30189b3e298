#include "device/InputListener.h"

#include "device/VirtualMouseTransport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace xk {
namespace {

struct ListenerCase {
    std::string name;
    int32_t macroMode;
    bool pending;
    std::vector<uint8_t> report;
    bool pendingAfter;
    bool stopAfter;
    uint8_t codeAfter;
};

void PrintTo(const ListenerCase& c, std::ostream* os) {
    *os << c.name;
}

class InputListenerTest : public testing::TestWithParam<ListenerCase> {};

TEST_P(InputListenerTest, TurnsReportsIntoEventsAndStopRequests) {
    const ListenerCase& c = GetParam();
    Settings settings;
    settings.macroMode.store(c.macroMode);
    VirtualMouseTransport transport;
    MouseConnection connection(transport);
    ExecutorFlags flags;
    flags.eventPending.store(c.pending);
    flags.eventCode.store(0xF1);
    InputListener listener(settings, connection, flags);

    listener.HandleReport(c.report);

    EXPECT_EQ(flags.eventPending.load(), c.pendingAfter);
    EXPECT_EQ(flags.stopRequested.load(), c.stopAfter);
    EXPECT_EQ(flags.eventCode.load(), c.codeAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InputListenerTest,
    testing::Values(
        ListenerCase{"PressWhileIdleIsTaken", 0, false, {6, 0xF3, 0x01}, true, false, 0xF3},
        ListenerCase{"DpiLevelByteIsAPress", 0, false, {6, 0xF9, 0x00}, true, false, 0xF9},
        ListenerCase{"SecondPressStopsInModeZero", 0, true, {6, 0xF3, 0x01}, true, true, 0xF1},
        ListenerCase{"SecondPressIgnoredInModeOne", 1, true, {6, 0xF3, 0x01}, true, false, 0xF1},
        ListenerCase{"ReleaseIgnoredInModeZero", 0, true, {6, 0xF1, 0x80}, true, false, 0xF1},
        ListenerCase{"ReleaseStopsInModeOne", 2, true, {6, 0xF1, 0x80}, true, true, 0xF1},
        ListenerCase{"ReleaseWhileIdleIsDropped", 1, false, {6, 0xF1, 0x80}, false, false, 0xF1},
        ListenerCase{"NonButtonCodeStopsWhilePending", 1, true, {6, 0xF0, 0x01}, true, true, 0xF1},
        ListenerCase{"NonButtonCodeWhileIdleIsDropped", 0, false, {6, 0x05}, false, false, 0xF1},
        ListenerCase{"OtherReportIdsAreIgnored", 0, false, {5, 0xF3, 0x01}, false, false, 0xF1},
        ListenerCase{"AnEmptyReportIsIgnored", 0, true, {}, true, false, 0xF1}),
    [](const auto& param) { return param.param.name; });

// One node with the vendor input collection. Each read handle opened plays the next script:
// reads that fail, then reports, then reads that block until interrupted.
class ScriptedReads final : public HidTransport {
public:
    struct Script {
        int failures = 0;
        std::vector<std::vector<uint8_t>> reports;
    };
    std::vector<Script> scripts;
    std::atomic<int> reads{0};
    std::atomic<int> blocked{0};

    class Device final : public HidDevice {
    public:
        Device(ScriptedReads& owner, Script script) : owner_(owner), script_(std::move(script)) {}
        std::optional<HidAttributes> Attributes() override { return HidAttributes{0x18F8, 0x1286}; }
        std::vector<HidCaps> Capabilities() override { return {{0xFF00, 0x01, 8, 0, {{6, 8, 0}}}}; }
        bool SetFeature(std::span<const uint8_t>) override { return false; }
        std::optional<size_t> ReadReport(std::span<uint8_t> buffer) override {
            ++owner_.reads;
            if (script_.failures > 0) {
                --script_.failures;
                return std::nullopt;
            }
            if (!script_.reports.empty()) {
                const std::vector<uint8_t> report = script_.reports.front();
                script_.reports.erase(script_.reports.begin());
                std::copy(report.begin(), report.end(), buffer.begin());
                return report.size();
            }
            std::unique_lock lock(mutex_);
            ++owner_.blocked;
            interrupted_.wait(lock, [this] { return interrupt_; });
            --owner_.blocked;
            return std::nullopt;
        }
        void Interrupt() override {
            const std::lock_guard lock(mutex_);
            interrupt_ = true;
            interrupted_.notify_all();
        }

    private:
        ScriptedReads& owner_;
        Script script_;
        std::mutex mutex_;
        std::condition_variable interrupted_;
        bool interrupt_ = false;
    };

    class List final : public HidInterfaceList {
    public:
        std::optional<std::string> PathAt(int index) override {
            return index == 0 ? std::optional<std::string>("node") : std::nullopt;
        }
    };

    std::unique_ptr<HidInterfaceList> ListInterfaces() override { return std::make_unique<List>(); }
    std::unique_ptr<HidDevice> Open(const std::string&, HidAccess access) override {
        Script script;
        if (access == HidAccess::Read && opened_ < scripts.size()) {
            script = scripts[opened_++];
        }
        return std::make_unique<Device>(*this, script);
    }
    void RegisterNotifications() override {}
    int NotificationFd() const override { return -1; }
    std::vector<DeviceChange> ReadNotifications() override { return {}; }

private:
    size_t opened_ = 0;
};

template <typename Predicate> bool WaitUntil(Predicate predicate) {
    for (int i = 0; i < 5000 && !predicate(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return predicate();
}

class ListenerReadsTest : public testing::Test {
protected:
    ~ListenerReadsTest() override { listener.Stop(); }

    Settings settings;
    ScriptedReads transport;
    MouseConnection connection{transport};
    ExecutorFlags flags;
    InputListener listener{settings, connection, flags};
};

TEST_F(ListenerReadsTest, AFailedReadIsTriedAgainOnTheSameHandle) {
    transport.scripts = {{3, {{6, 0xF2, 0x01}}}};
    listener.Start();
    ASSERT_TRUE(connection.FindMouse());

    ASSERT_TRUE(WaitUntil([&] { return flags.eventPending.load(); }));
    EXPECT_EQ(flags.eventCode.load(), 0xF2);
}

TEST_F(ListenerReadsTest, AReadThatKeepsFailingIsRetriedAfterAPauseNotInABusyLoop) {
    transport.scripts = {{1000000, {}}};
    listener.Start();
    ASSERT_TRUE(connection.FindMouse());
    ASSERT_TRUE(WaitUntil([&] { return transport.reads.load() >= 2; }));

    const int before = transport.reads.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    // Pauses doubling from 2 ms to 250 ms allow about ten reads; a fixed pause of 2 ms about
    // 300, a busy loop many thousands.
    EXPECT_LT(transport.reads.load() - before, 40);
}

TEST_F(ListenerReadsTest, ARescanMovesTheListenerToTheNewHandle) {
    transport.scripts = {{0, {}}, {0, {{6, 0xF3, 0x01}}}};
    listener.Start();
    ASSERT_TRUE(connection.FindMouse());
    ASSERT_TRUE(WaitUntil([&] { return transport.blocked.load() == 1; }));

    ASSERT_TRUE(connection.FindMouse());
    ASSERT_TRUE(WaitUntil([&] { return flags.eventPending.load(); }));
    EXPECT_EQ(flags.eventCode.load(), 0xF3);
}

} // namespace
} // namespace xk
