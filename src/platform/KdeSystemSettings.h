#pragma once

#include "device/SystemSettings.h"

#include <optional>
#include <string>
#include <vector>

struct _GDBusConnection;

namespace xk {

// KDE Plasma's own pointer speed, for Wayland sessions: the pointer acceleration (-1..1) of
// each mouse that KWin lists on the session bus (org.kde.KWin, /org/kde/KWin/InputDevice); KWin
// keeps a value set this way in its input settings. Touchpads are left alone. Without KWin or
// without a mouse that takes an acceleration the query fails and nothing is set; there is no
// wheel lines setting.
class KdeSystemSettings final : public SystemSettings {
public:
    // The bus's address; empty for the session bus.
    explicit KdeSystemSettings(std::string busAddress = {});
    ~KdeSystemSettings() override;
    KdeSystemSettings(const KdeSystemSettings&) = delete;
    KdeSystemSettings& operator=(const KdeSystemSettings&) = delete;

    std::optional<int> PointerSpeed() override;
    void SetPointerSpeed(int speed) override;
    std::optional<int> WheelScrollLines() override;
    void SetWheelScrollLines(int lines) override;
    std::optional<std::string> PointerSetting() override;
    void RestorePointerSetting(const std::string& setting) override;

private:
    // The bus, connected once; null when it cannot be reached.
    _GDBusConnection* Bus();
    // The object paths of KWin's mice, in KWin's order.
    std::vector<std::string> Mice();
    void SetAcceleration(const std::string& mouse, double acceleration);

    std::string busAddress_;
    bool connected_ = false;
    _GDBusConnection* bus_ = nullptr;
};

} // namespace xk
