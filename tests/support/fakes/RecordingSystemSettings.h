#pragma once

#include "device/SystemSettings.h"

#include <optional>
#include <string>
#include <vector>

namespace xk::test {

// Desktop pointer settings in memory; every call is recorded ("get speed", "set speed 18").
// A value left empty makes its query fail.
class RecordingSystemSettings final : public SystemSettings {
public:
    std::optional<int> pointerSpeed = 10;
    std::optional<int> wheelLines = 3;
    std::vector<std::string> calls;

    std::optional<int> PointerSpeed() override {
        calls.push_back("get speed");
        return pointerSpeed;
    }
    void SetPointerSpeed(int speed) override {
        calls.push_back("set speed " + std::to_string(speed));
        pointerSpeed = speed;
    }
    std::optional<int> WheelScrollLines() override {
        calls.push_back("get wheel");
        return wheelLines;
    }
    void SetWheelScrollLines(int lines) override {
        calls.push_back("set wheel " + std::to_string(lines));
        wheelLines = lines;
    }
    // "fake <speed>".
    std::optional<std::string> PointerSetting() override {
        calls.push_back("get setting");
        if (!pointerSpeed) {
            return std::nullopt;
        }
        return "fake " + std::to_string(*pointerSpeed);
    }
    void RestorePointerSetting(const std::string& setting) override {
        calls.push_back("restore " + setting);
        if (setting.rfind("fake ", 0) == 0) {
            pointerSpeed = std::stoi(setting.substr(5));
        }
    }
};

} // namespace xk::test
