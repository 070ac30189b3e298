#pragma once

#include "device/SystemSettings.h"

#include <memory>
#include <optional>
#include <string>

struct _GSettings;

namespace xk {

inline constexpr const char* kGnomeMouseSchema = "org.gnome.desktop.peripherals.mouse";

// GNOME's own pointer speed, for Wayland sessions: the key `speed` (-1..1) of its mouse settings
// schema, through GSettings. Without the schema or its key the query fails and nothing is set;
// GNOME has no wheel lines setting. Writes are flushed at once, so one made at exit is kept.
class GnomeSystemSettings final : public SystemSettings {
public:
    explicit GnomeSystemSettings(std::string schemaId = kGnomeMouseSchema);
    ~GnomeSystemSettings() override;
    GnomeSystemSettings(const GnomeSystemSettings&) = delete;
    GnomeSystemSettings& operator=(const GnomeSystemSettings&) = delete;

    std::optional<int> PointerSpeed() override;
    void SetPointerSpeed(int speed) override;
    std::optional<int> WheelScrollLines() override;
    void SetWheelScrollLines(int lines) override;
    std::optional<std::string> PointerSetting() override;
    void RestorePointerSetting(const std::string& setting) override;

private:
    // The schema's settings, looked up once; null when it or its double key `speed` is missing.
    _GSettings* Settings();

    std::string schemaId_;
    bool looked_ = false;
    _GSettings* settings_ = nullptr;
};

} // namespace xk
