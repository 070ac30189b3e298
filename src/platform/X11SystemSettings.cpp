#include "platform/X11SystemSettings.h"

#include "platform/PointerSettingText.h"

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

struct PointerControl {
    int numerator = 0;
    int denominator = 0;
    int threshold = 0;
};

// The X server's acceleration; nothing without a display.
std::optional<PointerControl> ReadPointerControl(const std::string& name) {
    const DisplayPtr display = OpenDisplay(name);
    if (!display) {
        return std::nullopt;
    }
    PointerControl control;
    XGetPointerControl(display.get(), &control.numerator, &control.denominator, &control.threshold);
    return control;
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
    const std::optional<PointerControl> control = ReadPointerControl(display_);
    if (!control) {
        return std::nullopt;
    }
    return PointerSpeedOfAcceleration(control->numerator, control->denominator);
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

// "x11 <numerator> <denominator> <threshold>": the X server's acceleration as it stands.
std::optional<std::string> X11SystemSettings::PointerSetting() {
    const std::optional<PointerControl> control = ReadPointerControl(display_);
    if (!control) {
        return std::nullopt;
    }
    return "x11 " + std::to_string(control->numerator) + " " +
           std::to_string(control->denominator) + " " + std::to_string(control->threshold);
}

void X11SystemSettings::RestorePointerSetting(const std::string& setting) {
    const auto words = WordsOfKind(setting, "x11");
    if (!words || words->size() != 3) {
        return;
    }
    const std::optional<int> numerator = IntOfWord((*words)[0]);
    const std::optional<int> denominator = IntOfWord((*words)[1]);
    const std::optional<int> threshold = IntOfWord((*words)[2]);
    // The protocol's CARD16 fields; the server refuses zero and negative values.
    constexpr int kMax = 32767;
    if (!numerator || !denominator || !threshold || *numerator < 1 || *numerator > kMax ||
        *denominator < 1 || *denominator > kMax || *threshold < 0 || *threshold > kMax) {
        return;
    }
    const DisplayPtr display = OpenDisplay(display_);
    if (!display) {
        return;
    }
    XChangePointerControl(display.get(), True, True, *numerator, *denominator, *threshold);
    XSync(display.get(), False);
}

} // namespace xk
