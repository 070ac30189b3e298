#include "platform/X11SystemSettings.h"

#include "ChildProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace xk {
namespace {

TEST(X11SystemSettingsTest, AccelerationMapsToSpeed) {
    EXPECT_EQ(PointerSpeedOfAcceleration(2, 1), 10);
    EXPECT_EQ(PointerSpeedOfAcceleration(18, 5), 18);
    EXPECT_EQ(PointerSpeedOfAcceleration(1, 5), 1);
    EXPECT_EQ(PointerSpeedOfAcceleration(10, 1), 20);
    EXPECT_EQ(PointerSpeedOfAcceleration(0, 1), 1);
    EXPECT_EQ(PointerSpeedOfAcceleration(3, 0), 1);
}

TEST(X11SystemSettingsTest, WithoutADisplayQueriesFailAndNothingIsSet) {
    X11SystemSettings system(":9999");
    EXPECT_FALSE(system.PointerSpeed());
    EXPECT_FALSE(system.WheelScrollLines());
    system.SetPointerSpeed(18);
    system.SetWheelScrollLines(3);
}

TEST(X11SystemSettingsTest, SetsThePointerAccelerationOfAnXServer) {
    const std::string xvfb = "/usr/bin/Xvfb";
    if (!std::filesystem::exists(xvfb)) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    // -displayfd picks a free display and writes its number.
    test::ChildProcess server({xvfb, "-displayfd", "1", "-noreset", "-nolisten", "tcp"});
    const std::string number = server.ReadLine();
    ASSERT_FALSE(number.empty());
    X11SystemSettings system(":" + number);

    EXPECT_EQ(system.PointerSpeed(), 10) << "X's default 2/1";
    system.SetPointerSpeed(18);
    EXPECT_EQ(system.PointerSpeed(), 18);
    system.SetPointerSpeed(1);
    EXPECT_EQ(system.PointerSpeed(), 1);
    EXPECT_FALSE(system.WheelScrollLines()) << "X has no wheel lines setting";

    // The person's own acceleration comes back exactly, which the 1..20 scale cannot hold.
    X11SystemSettings other(":" + number);
    other.RestorePointerSetting("x11 3 2 6");
    const std::optional<std::string> own = system.PointerSetting();
    EXPECT_EQ(own, "x11 3 2 6");
    system.SetPointerSpeed(18);
    for (const char* refused : {"x11 0 1 4", "x11 3 2", "x11 3 2 6 7", "x11 a 2 6", "gnome 0.5",
                                "x11 3 0 4", "x11 99999 1 4", ""}) {
        system.RestorePointerSetting(refused);
        EXPECT_EQ(system.PointerSpeed(), 18) << refused;
    }
    system.RestorePointerSetting(*own);
    EXPECT_EQ(system.PointerSetting(), "x11 3 2 6");
}

} // namespace
} // namespace xk
