#pragma once

#include "device/SystemSettings.h"

#include <optional>
#include <string>

namespace xk {

// The X server's pointer control: speed s (1..20) is acceleration s/5 with threshold 4, so 10
// is X's default 2/1. X has no wheel lines setting: that query fails and nothing is set.
// Each call opens its own connection to the display; without a display the queries fail.
class X11SystemSettings final : public SystemSettings {
public:
    // The display name; empty for $DISPLAY.
    explicit X11SystemSettings(std::string display = {});

    std::optional<int> PointerSpeed() override;
    void SetPointerSpeed(int speed) override;
    std::optional<int> WheelScrollLines() override;
    void SetWheelScrollLines(int lines) override;
    std::optional<std::string> PointerSetting() override;
    void RestorePointerSetting(const std::string& setting) override;

private:
    std::string display_;
};

// Speed of an acceleration numerator/denominator, rounded and kept in 1..20.
int PointerSpeedOfAcceleration(int numerator, int denominator);

} // namespace xk
