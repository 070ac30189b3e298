#include "platform/GnomeSystemSettings.h"

#include "platform/DesktopSpeed.h"
#include "platform/PointerSettingText.h"

#include <gio/gio.h>

namespace xk {
namespace {

constexpr const char* kSpeedKey = "speed";

// Whether the schema has `speed` as a double, the only form read and written here.
bool HasDoubleSpeed(GSettingsSchema* schema) {
    if (!g_settings_schema_has_key(schema, kSpeedKey)) {
        return false;
    }
    GSettingsSchemaKey* key = g_settings_schema_get_key(schema, kSpeedKey);
    const bool isDouble =
        g_variant_type_equal(g_settings_schema_key_get_value_type(key), G_VARIANT_TYPE_DOUBLE);
    g_settings_schema_key_unref(key);
    return isDouble;
}

} // namespace

GnomeSystemSettings::GnomeSystemSettings(std::string schemaId) : schemaId_(std::move(schemaId)) {}

GnomeSystemSettings::~GnomeSystemSettings() {
    if (settings_ != nullptr) {
        g_object_unref(settings_);
    }
}

GSettings* GnomeSystemSettings::Settings() {
    if (looked_) {
        return settings_;
    }
    looked_ = true;
    // g_settings_new would end the program for a schema that is not installed: look first.
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) {
        return nullptr;
    }
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, schemaId_.c_str(), TRUE);
    if (schema == nullptr) {
        return nullptr;
    }
    if (HasDoubleSpeed(schema)) {
        settings_ = g_settings_new_full(schema, nullptr, nullptr);
    }
    g_settings_schema_unref(schema);
    return settings_;
}

std::optional<int> GnomeSystemSettings::PointerSpeed() {
    GSettings* settings = Settings();
    if (settings == nullptr) {
        return std::nullopt;
    }
    return PointerSpeedOfDesktopSpeed(g_settings_get_double(settings, kSpeedKey));
}

void GnomeSystemSettings::SetPointerSpeed(int speed) {
    GSettings* settings = Settings();
    if (settings == nullptr) {
        return;
    }
    // Refused when the key is locked; nothing else happens then.
    if (g_settings_set_double(settings, kSpeedKey, DesktopSpeedOfPointerSpeed(speed))) {
        g_settings_sync();
    }
}

std::optional<int> GnomeSystemSettings::WheelScrollLines() {
    return std::nullopt;
}

void GnomeSystemSettings::SetWheelScrollLines(int /*lines*/) {}

// "gnome <speed>": GNOME's mouse speed, to the last digit.
std::optional<std::string> GnomeSystemSettings::PointerSetting() {
    GSettings* settings = Settings();
    if (settings == nullptr) {
        return std::nullopt;
    }
    return "gnome " + WordOfDesktopSpeed(g_settings_get_double(settings, kSpeedKey));
}

void GnomeSystemSettings::RestorePointerSetting(const std::string& setting) {
    const auto words = WordsOfKind(setting, "gnome");
    if (!words || words->size() != 1) {
        return;
    }
    const std::optional<double> speed = DesktopSpeedOfWord(words->front());
    GSettings* settings = Settings();
    if (!speed || settings == nullptr) {
        return;
    }
    if (g_settings_set_double(settings, kSpeedKey, *speed)) {
        g_settings_sync();
    }
}

} // namespace xk
