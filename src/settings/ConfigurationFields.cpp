#include "settings/ConfigurationFields.h"

#include "settings/FunctionCode.h"

#include <algorithm>
#include <vector>

namespace xk {

namespace {

// The report-rate button steps USB_SPEED through 0..3.
constexpr int32_t kReportRateStepCount = 4;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameKey(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

std::vector<ConfigurationField> MakeFields() {
    std::vector<ConfigurationField> fields;
    const auto indexed = [](std::string_view prefix, size_t i) {
        return std::string(prefix) + std::to_string(i);
    };
    for (size_t i = 0; i < kButtonCount; ++i) {
        fields.push_back(
            {indexed("K", i), FieldKind::ButtonFunction, i, 0, kFunctionCodeCount - 1});
    }
    fields.push_back({"DPI_LEVEL", FieldKind::DpiLevel, 0, 0, kDpiLevelCount - 1});
    fields.push_back({"WHEEL_STATUS", FieldKind::WheelStatus, 0, 0, 1});
    fields.push_back({"MACRO_MODE2", FieldKind::MacroMode, 0, 0, 1});
    for (size_t j = 0; j < kDpiLevelCount; ++j) {
        fields.push_back({indexed("DPI_SET", j), FieldKind::DpiStep, j, 0, kDpiStepCount - 1});
        fields.push_back({indexed("DPI_SET_EN", j), FieldKind::DpiEnabled, j, 0, 1});
    }
    fields.push_back({"LED_STATUS", FieldKind::LedMode, 0, 0, kLedModeCount - 1});
    fields.push_back({"DPI_SPEED", FieldKind::PointerSpeed, 0, 0, kSpeedStepCount - 1});
    fields.push_back({"WHEEL_SPEED", FieldKind::WheelSpeed, 0, 0, kSpeedStepCount - 1});
    fields.push_back({"USB_SPEED", FieldKind::ReportRate, 0, 0, kReportRateStepCount - 1});
    fields.push_back({"FIRE_TIME", FieldKind::FireTime, 0, 0, kFireTimeMax});
    return fields;
}

} // namespace

std::span<const ConfigurationField> ConfigurationFields() {
    static const std::vector<ConfigurationField> fields = MakeFields();
    return fields;
}

const ConfigurationField* FindConfigurationField(std::string_view key) {
    for (const ConfigurationField& field : ConfigurationFields()) {
        if (SameKey(field.key, key)) {
            return &field;
        }
    }
    return nullptr;
}

bool InRange(const ConfigurationField& field, int64_t value) {
    return value >= field.low && value <= field.high;
}

std::string RangeText(const ConfigurationField& field) {
    return field.key + " takes " + std::to_string(field.low) + ".." + std::to_string(field.high);
}

int32_t ValueOf(const Configuration& c, const ConfigurationField& field) {
    switch (field.kind) {
    case FieldKind::ButtonFunction:
        return c.buttonFunction[field.index];
    case FieldKind::DpiLevel:
        return c.dpiLevel;
    case FieldKind::WheelStatus:
        return c.wheelStatus;
    case FieldKind::MacroMode:
        return c.macroMode;
    case FieldKind::DpiStep:
        return c.dpiValue[field.index];
    case FieldKind::DpiEnabled:
        return c.dpiEnabled[field.index];
    case FieldKind::LedMode:
        return c.ledMode;
    case FieldKind::PointerSpeed:
        return c.pointerSpeed;
    case FieldKind::WheelSpeed:
        return c.wheelSpeed;
    case FieldKind::ReportRate:
        return c.reportRate;
    case FieldKind::FireTime:
        return c.fireTime;
    }
    return 0;
}

void SetValue(Configuration& c, const ConfigurationField& field, int32_t value) {
    const auto byte = static_cast<uint8_t>(std::clamp(value, 0, 255));
    switch (field.kind) {
    case FieldKind::ButtonFunction:
        c.buttonFunction[field.index] = value;
        break;
    case FieldKind::DpiLevel:
        c.dpiLevel = value;
        break;
    case FieldKind::WheelStatus:
        c.wheelStatus = value;
        break;
    case FieldKind::MacroMode:
        c.macroMode = value;
        break;
    case FieldKind::DpiStep:
        c.dpiValue[field.index] = byte;
        break;
    case FieldKind::DpiEnabled:
        c.dpiEnabled[field.index] = byte;
        break;
    case FieldKind::LedMode:
        c.ledMode = byte;
        break;
    case FieldKind::PointerSpeed:
        c.pointerSpeed = byte;
        break;
    case FieldKind::WheelSpeed:
        c.wheelSpeed = byte;
        break;
    case FieldKind::ReportRate:
        c.reportRate = byte;
        break;
    case FieldKind::FireTime:
        c.fireTime = value;
        break;
    }
}

} // namespace xk
