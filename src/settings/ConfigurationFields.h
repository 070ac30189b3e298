#pragma once

#include "settings/Settings.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace xk {

// What a key of a configuration section holds.
enum class FieldKind {
    ButtonFunction, // K0..K7: a function code (checked against the function names)
    DpiLevel,
    WheelStatus,
    MacroMode,
    DpiStep,
    DpiEnabled,
    LedMode,
    PointerSpeed,
    WheelSpeed,
    ReportRate, // shown, never set: it follows the mouse's report-rate button
    FireTime,
};

// One key of a configuration section with the values the window lets a person give it.
struct ConfigurationField {
    std::string key;
    FieldKind kind = FieldKind::FireTime;
    size_t index = 0; // the button or the DPI level
    int32_t low = 0;
    int32_t high = 0;
};

// Every key of a configuration section, in the order a save writes them.
std::span<const ConfigurationField> ConfigurationFields();
// The field of a key, matched without regard to ASCII case; null for no such key.
const ConfigurationField* FindConfigurationField(std::string_view key);

// Whether a value lies in the field's range: for a button any function code (the popups offer
// fewer, and `set` checks those by name), for the others what the window's clicks produce.
bool InRange(const ConfigurationField& field, int64_t value);
// "DPI_SET1 takes 0..11".
std::string RangeText(const ConfigurationField& field);

int32_t ValueOf(const Configuration& config, const ConfigurationField& field);
// Sets the field; the caller has checked the value.
void SetValue(Configuration& config, const ConfigurationField& field, int32_t value);

} // namespace xk
