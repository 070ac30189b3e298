#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>

namespace xk {

inline constexpr int kButtonCount = 8;
inline constexpr int kDpiLevelCount = 4;
inline constexpr int kDpiStepCount = 12;
inline constexpr int kLedModeCount = 4;
inline constexpr int kSpeedStepCount = 10;   // pointerSpeed and wheelSpeed 0..9
inline constexpr int32_t kFireTimeMax = 300; // fireTime 0..300 ms

// The one program-wide record of the mouse's configuration, the program-wide values that go
// with it and the runtime fields that several layers share. Owned by the application object
// and passed by reference. Fields that the executor thread shares are atomic.
struct Settings {
    // Configuration fields: one set is what a configuration section holds.
    std::array<std::atomic<int32_t>, kButtonCount> buttonFunction{};
    std::atomic<int32_t> dpiLevel{0};
    int32_t wheelStatus = 0;
    std::atomic<int32_t> macroMode{0};
    std::array<uint8_t, kDpiLevelCount> dpiValue{};
    std::array<uint8_t, kDpiLevelCount> dpiEnabled{};
    uint8_t ledMode = 0;
    uint8_t pointerSpeed = 0;
    uint8_t wheelSpeed = 0;
    std::atomic<uint8_t> reportRate{0};
    int32_t fireTime = 0;

    // Program-wide fields, kept in [Init].
    std::atomic<int32_t> currentConfig{0};
    int32_t language = 0; // 1 English, 0 Chinese

    // Runtime fields.
    uint8_t currentPage = 0;
    int32_t selectedButton = 0;
    std::array<std::atomic<int32_t>, kButtonCount> dpiFollow{};
    std::array<std::atomic<int32_t>, kButtonCount> rateFollow{};
    std::array<uint8_t, kDpiLevelCount> dpiDeviceCode{};
    uint8_t appliedLedMode = 0;
    std::filesystem::path configPath;
};

// The values of the configuration fields, as a plain copyable value.
struct Configuration {
    std::array<int32_t, kButtonCount> buttonFunction{};
    int32_t dpiLevel = 0;
    int32_t wheelStatus = 0;
    int32_t macroMode = 0;
    std::array<uint8_t, kDpiLevelCount> dpiValue{};
    std::array<uint8_t, kDpiLevelCount> dpiEnabled{};
    uint8_t ledMode = 0;
    uint8_t pointerSpeed = 0;
    uint8_t wheelSpeed = 0;
    uint8_t reportRate = 0;
    int32_t fireTime = 0;

    bool operator==(const Configuration&) const = default;
};

Configuration ConfigurationOf(const Settings& settings);
void ApplyConfiguration(Settings& settings, const Configuration& config);

// Puts the built-in defaults (what the reset gives configuration 1) into the record;
// macroMode has no default and keeps its value.
void ApplyBuiltInDefaults(Settings& settings);

} // namespace xk
