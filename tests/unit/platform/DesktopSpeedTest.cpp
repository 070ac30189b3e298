#include "platform/DesktopSpeed.h"

#include <gtest/gtest.h>

#include <cmath>

namespace xk {
namespace {

TEST(DesktopSpeed, MapsTheSpeedScaleOntoTheDesktopsBothWays) {
    struct Case {
        int speed;
        double desktop;
    };
    // The upload's speeds 1, 2, 4 ... 18, the default 10 and the fastest.
    for (const Case& c : {Case{1, -1.0}, Case{2, -8.0 / 9}, Case{4, -6.0 / 9}, Case{10, 0.0},
                          Case{12, 0.2}, Case{18, 0.8}, Case{20, 1.0}}) {
        EXPECT_DOUBLE_EQ(DesktopSpeedOfPointerSpeed(c.speed), c.desktop) << "speed " << c.speed;
        EXPECT_EQ(PointerSpeedOfDesktopSpeed(c.desktop), c.speed) << "desktop " << c.desktop;
    }
    for (int speed = 1; speed <= 20; ++speed) {
        EXPECT_EQ(PointerSpeedOfDesktopSpeed(DesktopSpeedOfPointerSpeed(speed)), speed);
    }
}

TEST(DesktopSpeed, ValuesOutsideEitherScaleStayInIt) {
    EXPECT_DOUBLE_EQ(DesktopSpeedOfPointerSpeed(0), -1.0);
    EXPECT_DOUBLE_EQ(DesktopSpeedOfPointerSpeed(25), 1.0);
    EXPECT_EQ(PointerSpeedOfDesktopSpeed(-3.0), 1);
    EXPECT_EQ(PointerSpeedOfDesktopSpeed(1.5), 20);
    EXPECT_EQ(PointerSpeedOfDesktopSpeed(std::nan("")), 10);
    // A value another program set rounds to the nearest speed.
    EXPECT_EQ(PointerSpeedOfDesktopSpeed(0.04), 10);
    EXPECT_EQ(PointerSpeedOfDesktopSpeed(0.06), 11);
    EXPECT_EQ(PointerSpeedOfDesktopSpeed(-0.5), 6);
}

} // namespace
} // namespace xk
