#include "platform/DesktopSpeed.h"

#include <algorithm>
#include <cmath>

namespace xk {
namespace {

constexpr int kMinSpeed = 1;
constexpr int kDefaultSpeed = 10;
constexpr int kMaxSpeed = 20;
constexpr double kStepsBelow = kDefaultSpeed - kMinSpeed; // -1 .. 0
constexpr double kStepsAbove = kMaxSpeed - kDefaultSpeed; // 0 .. 1

} // namespace

double DesktopSpeedOfPointerSpeed(int speed) {
    const int steps = std::clamp(speed, kMinSpeed, kMaxSpeed) - kDefaultSpeed;
    return steps < 0 ? steps / kStepsBelow : steps / kStepsAbove;
}

int PointerSpeedOfDesktopSpeed(double desktopSpeed) {
    if (std::isnan(desktopSpeed)) {
        return kDefaultSpeed;
    }
    const double value = std::clamp(desktopSpeed, -1.0, 1.0);
    const double speed = kDefaultSpeed + value * (value < 0 ? kStepsBelow : kStepsAbove);
    return static_cast<int>(std::lround(speed));
}

} // namespace xk
