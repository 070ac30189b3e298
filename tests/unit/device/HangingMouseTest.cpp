// A mouse whose feature reports hang in the device, as hidraw's ioctl hangs while the mouse
// does not answer: the interface thread's operations and the exit end all the same.

#include "device/DeviceLink.h"
#include "device/MouseProtocol.h"
#include "device/UploadSettings.h"
#include "support/TempDir.h"
#include "support/fakes/RecordingLauncher.h"
#include "support/fakes/RecordingSystemSettings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace xk {
namespace {

using namespace std::chrono_literals;

// One node with both vendor collections. While `hanging`, a feature report stays in the device
// until it is let go; the reports the device took are kept.
class HangingTransport final : public HidTransport {
public:
    void Hang() {
        const std::lock_guard lock(mutex_);
        hanging_ = true;
    }
    void LetGo() {
        {
            const std::lock_guard lock(mutex_);
            hanging_ = false;
        }
        changed_.notify_all();
    }
    // Reports that reached the device, taken or not.
    size_t Arrived() const {
        const std::lock_guard lock(mutex_);
        return arrived_;
    }
    std::vector<std::vector<uint8_t>> Taken() const {
        const std::lock_guard lock(mutex_);
        return taken_;
    }
    bool WaitUntilTaken(size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return taken_.size() >= count; });
    }

    std::unique_ptr<HidInterfaceList> ListInterfaces() override { return std::make_unique<List>(); }
    std::unique_ptr<HidDevice> Open(const std::string& /*path*/, HidAccess /*access*/) override {
        return std::make_unique<Device>(*this);
    }
    void RegisterNotifications() override {}
    int NotificationFd() const override { return -1; }
    std::vector<DeviceChange> ReadNotifications() override { return {}; }

private:
    class List final : public HidInterfaceList {
    public:
        std::optional<std::string> PathAt(int index) override {
            return index == 0 ? std::optional<std::string>("m") : std::nullopt;
        }
    };
    class Device final : public HidDevice {
    public:
        explicit Device(HangingTransport& owner) : owner_(owner) {}
        std::optional<HidAttributes> Attributes() override {
            return HidAttributes{kMouseVendorId, kMouseProductId};
        }
        std::vector<HidCaps> Capabilities() override {
            return {{kInputUsagePage, kVendorUsage, 8, 0, {{6, 8, 0}}},
                    {kFeatureUsagePage, kVendorUsage, 0, 8, {{7, 0, 8}}}};
        }
        bool SetFeature(std::span<const uint8_t> report) override {
            std::unique_lock lock(owner_.mutex_);
            ++owner_.arrived_;
            owner_.changed_.wait(lock, [&] { return !owner_.hanging_; });
            owner_.taken_.emplace_back(report.begin(), report.end());
            owner_.changed_.notify_all();
            return true;
        }
        std::optional<size_t> ReadReport(std::span<uint8_t> /*buffer*/) override {
            std::unique_lock lock(mutex_);
            woken_.wait(lock, [&] { return interrupted_; });
            return std::nullopt;
        }
        void Interrupt() override {
            {
                const std::lock_guard lock(mutex_);
                interrupted_ = true;
            }
            woken_.notify_all();
        }

    private:
        HangingTransport& owner_;
        std::mutex mutex_;
        std::condition_variable woken_;
        bool interrupted_ = false;
    };

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool hanging_ = false;
    size_t arrived_ = 0;
    std::vector<std::vector<uint8_t>> taken_;
};

class HangingMouseTest : public testing::Test {
protected:
    HangingMouseTest() {
        settings.configPath = dir / "config.ini";
        settings.currentConfig.store(1);
        link.Start();
        EXPECT_TRUE(link.connection().FindMouse());
    }
    ~HangingMouseTest() override {
        transport.LetGo(); // the link waits for a report still in the device
        link.Stop();
    }

    // The window's budget, short for the test; counts how often the window was kept alive.
    SendBudget WindowBudget() {
        return SendBudget(300ms, [this] { ++windowTurns; });
    }

    test::TempDir dir;
    Settings settings;
    MacroStore macros;
    test::RecordingLauncher launcher;
    test::RecordingSystemSettings system;
    HangingTransport transport;
    DeviceLink link{transport, settings, macros, launcher, {}};
    int windowTurns = 0;
};

TEST_F(HangingMouseTest, AnUploadGivesUpOnTheMouseKeepsTheWindowAliveAndCountsNothingSent) {
    transport.Hang();
    SendBudget budget = WindowBudget();
    EXPECT_TRUE(UploadSettings(settings, link.reports(), system, {}, budget)) << "still saved";

    EXPECT_FALSE(budget.answered());
    EXPECT_EQ(budget.remaining(), SendBudget::Clock::duration::zero());
    EXPECT_GT(windowTurns, 0) << "the window was not kept alive while waiting";
    EXPECT_EQ(transport.Arrived(), 1u) << "the reports after the first gave up at once";
    EXPECT_TRUE(transport.Taken().empty());
    EXPECT_EQ(system.calls.size(), 4u) << "the desktop's settings are set all the same";

    // While that report hangs, the next operation gives up at once: the exit report too.
    windowTurns = 0;
    SendBudget again = WindowBudget();
    link.reports().SendExitReport(again);
    EXPECT_FALSE(again.answered());
    EXPECT_EQ(windowTurns, 0) << "waited for a mouse known not to answer";
    EXPECT_EQ(transport.Arrived(), 1u);

    // Once the mouse answers again, so does the next upload, whole.
    transport.LetGo();
    ASSERT_TRUE(transport.WaitUntilTaken(1));
    SendBudget later(10s);
    UploadSettings(settings, link.reports(), system, {}, later);
    EXPECT_TRUE(later.answered());
    EXPECT_EQ(transport.Taken().size(), 1u + 15u);
}

TEST_F(HangingMouseTest, TheExitEndsWhileAMacroAndTheMouseHang) {
    transport.Hang();
    // The executor's report hangs first; the exit waits for it and for the mouse within its
    // budget, and the executor's later reports give up at once.
    std::thread executor([&] { link.reports().SendKeyEvent(4, 1); });
    SendBudget budget = WindowBudget();
    EXPECT_FALSE(link.Close(budget));
    executor.join();
    EXPECT_EQ(transport.Arrived(), 1u);
    EXPECT_FALSE(link.connection().WriteHandleOpen());
}

} // namespace
} // namespace xk
