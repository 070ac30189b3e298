#include "platform/KdeSystemSettings.h"

#include "ChildProcess.h"
#include "FakeKWin.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace xk::test {
namespace {

// A private message bus for the test's own KWin.
class KdeSystemSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string daemon = "/usr/bin/dbus-daemon";
        if (!std::filesystem::exists(daemon)) {
            GTEST_SKIP() << "dbus-daemon is not installed";
        }
        bus_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{daemon, "--session", "--nofork", "--print-address=1"});
        address_ = bus_->ReadLine();
        ASSERT_FALSE(address_.empty()) << "no bus";
    }

    std::unique_ptr<ChildProcess> bus_;
    std::string address_;
};

TEST_F(KdeSystemSettingsTest, SpeedIsTheAccelerationOfKWinsMice) {
    FakeKWin kwin(address_,
                  {
                      {"event3", false, false, false, 0.0}, // a keyboard
                      {"event4", true, true, true, 0.5},    // a touchpad
                      {"event5", true, false, true, 0.2},   // the mouse
                      {"event6", true, false, false, 0.0},  // a pointer without acceleration
                      {"event7", true, false, true, -0.5},  // a second mouse
                  },
                  {"event3", "event4", "bad/../name", "event5", "event6", "event7"});
    ASSERT_TRUE(kwin.Serving());
    KdeSystemSettings system(address_);

    EXPECT_EQ(system.PointerSpeed(), 12) << "the first mouse's acceleration 0.2";
    system.SetPointerSpeed(18);
    EXPECT_DOUBLE_EQ(kwin.Acceleration("event5"), 0.8);
    EXPECT_DOUBLE_EQ(kwin.Acceleration("event7"), 0.8);
    EXPECT_DOUBLE_EQ(kwin.Acceleration("event4"), 0.5) << "touchpads are left alone";
    EXPECT_EQ(system.PointerSpeed(), 18);
    system.SetPointerSpeed(10);
    EXPECT_DOUBLE_EQ(kwin.Acceleration("event5"), 0.0);
    EXPECT_FALSE(system.WheelScrollLines());
}

TEST_F(KdeSystemSettingsTest, EachMousesOwnAccelerationComesBack) {
    FakeKWin kwin(address_,
                  {
                      {"event4", true, true, true, 0.5},   // a touchpad
                      {"event5", true, false, true, 0.23}, // the mouse
                      {"event7", true, false, true, -0.5}, // a second mouse
                  },
                  {"event4", "event5", "event7"});
    ASSERT_TRUE(kwin.Serving());
    KdeSystemSettings system(address_);
    const std::optional<std::string> own = system.PointerSetting();
    ASSERT_TRUE(own);
    system.SetPointerSpeed(18);
    for (const char* refused :
         {"kde /org/kde/KWin/InputDevice/event5", "kde /org/kde/KWin/InputDevice/event5 7",
          "gnome 0.23", "kde /org/kde/KWin/InputDevice/event4 0.1"}) {
        system.RestorePointerSetting(refused);
        EXPECT_DOUBLE_EQ(kwin.Acceleration("event5"), 0.8) << refused;
        EXPECT_DOUBLE_EQ(kwin.Acceleration("event4"), 0.5) << "touchpads are left alone";
    }
    system.RestorePointerSetting(*own);
    EXPECT_EQ(kwin.Acceleration("event5"), 0.23);
    EXPECT_EQ(kwin.Acceleration("event7"), -0.5);
    EXPECT_EQ(kwin.Acceleration("event4"), 0.5);
}

TEST_F(KdeSystemSettingsTest, WithoutKWinOrWithoutAMouseNothingIsSet) {
    KdeSystemSettings noKWin(address_);
    EXPECT_FALSE(noKWin.PointerSpeed());
    noKWin.SetPointerSpeed(18);

    FakeKWin kwin(address_, {{"event4", true, true, true, 0.5}}, {"event4"});
    ASSERT_TRUE(kwin.Serving());
    KdeSystemSettings touchpadOnly(address_);
    EXPECT_FALSE(touchpadOnly.PointerSpeed());
    touchpadOnly.SetPointerSpeed(18);
    EXPECT_DOUBLE_EQ(kwin.Acceleration("event4"), 0.5);

    KdeSystemSettings noBus("unix:path=/nonexistent/bus");
    EXPECT_FALSE(noBus.PointerSpeed());
    noBus.SetPointerSpeed(18);
}

} // namespace
} // namespace xk::test
