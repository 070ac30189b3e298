#include "platform/X11SystemSettings.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace xk {

namespace {

constexpr int kSpeedDenominator = 5;
constexpr int kThreshold = 4;
constexpr int kMinSpeed = 1;
constexpr int kMaxSpeed = 20;

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

DisplayPtr OpenDisplay(const std::string& name) {
    return DisplayPtr(XOpenDisplay(name.empty() ? nullptr : name.c_str()));
}

} // namespace

int PointerSpeedOfAcceleration(int numerator, int denominator) {
    if (denominator <= 0 || numerator <= 0) {
        return kMinSpeed;
    }
    const double speed = static_cast<double>(numerator) * kSpeedDenominator / denominator;
    return std::clamp(static_cast<int>(std::lround(speed)), kMinSpeed, kMaxSpeed);
}

X11SystemSettings::X11SystemSettings(std::string display) : display_(std::move(display)) {}

std::optional<int> X11SystemSettings::PointerSpeed() {
    const DisplayPtr display = OpenDisplay(display_);
    if (!display) {
        return std::nullopt;
    }
    int numerator = 0;
    int denominator = 0;
    int threshold = 0;
    XGetPointerControl(display.get(), &numerator, &denominator, &threshold);
    return PointerSpeedOfAcceleration(numerator, denominator);
}

void X11SystemSettings::SetPointerSpeed(int speed) {
    const DisplayPtr display = OpenDisplay(display_);
    if (!display) {
        return;
    }
    XChangePointerControl(display.get(), True, True, std::clamp(speed, kMinSpeed, kMaxSpeed),
                          kSpeedDenominator, kThreshold);
    XSync(display.get(), False);
}

std::optional<int> X11SystemSettings::WheelScrollLines() {
    return std::nullopt;
}

void X11SystemSettings::SetWheelScrollLines(int /*lines*/) {}

} // namespace xk
