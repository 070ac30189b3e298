#pragma once

#include "device/SystemSettings.h"

#include <memory>
#include <optional>
#include <string>

namespace xk {

// What the session tells about its desktop: XDG_SESSION_TYPE, XDG_CURRENT_DESKTOP and
// WAYLAND_DISPLAY.
struct SessionEnvironment {
    std::string sessionType;
    std::string currentDesktop;
    std::string waylandDisplay;

    static SessionEnvironment OfProcess();
};

// Whose pointer settings the session has: the X server's, or on Wayland the desktop's own.
enum class PointerDesktop { X11, Gnome, Kde, OtherWayland };

// A Wayland session is one whose type says so, or, with no type or an unknown one, one with a
// Wayland display; every other session is an X session. On Wayland the first of the current
// desktop's names that is GNOME or KDE decides.
PointerDesktop PointerDesktopOf(const SessionEnvironment& session);

// The pointer settings of the session's desktop: X11SystemSettings, GnomeSystemSettings or
// KdeSystemSettings. On a Wayland session where the desktop's setting cannot be reached the
// queries fail, so nothing is set, and the first failed query says so once on stderr.
class SessionSystemSettings final : public SystemSettings {
public:
    explicit SessionSystemSettings(
        const SessionEnvironment& session = SessionEnvironment::OfProcess());
    ~SessionSystemSettings() override;

    PointerDesktop Desktop() const { return desktop_; }

    std::optional<int> PointerSpeed() override;
    void SetPointerSpeed(int speed) override;
    std::optional<int> WheelScrollLines() override;
    void SetWheelScrollLines(int lines) override;
    std::optional<std::string> PointerSetting() override;
    void RestorePointerSetting(const std::string& setting) override;

private:
    PointerDesktop desktop_;
    std::string desktopName_;
    std::unique_ptr<SystemSettings> settings_;
    bool toldLeftAlone_ = false;
};

} // namespace xk
