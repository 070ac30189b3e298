#include "platform/SessionSystemSettings.h"

#include "platform/GnomeSystemSettings.h"
#include "platform/KdeSystemSettings.h"
#include "platform/X11SystemSettings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace xk {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A Wayland desktop without a pointer speed that can be reached: every query fails.
class NoPointerSettings final : public SystemSettings {
public:
    std::optional<int> PointerSpeed() override { return std::nullopt; }
    void SetPointerSpeed(int /*speed*/) override {}
    std::optional<int> WheelScrollLines() override { return std::nullopt; }
    void SetWheelScrollLines(int /*lines*/) override {}
    std::optional<std::string> PointerSetting() override { return std::nullopt; }
    void RestorePointerSetting(const std::string& /*setting*/) override {}
};

std::unique_ptr<SystemSettings> SettingsOf(PointerDesktop desktop) {
    switch (desktop) {
    case PointerDesktop::X11:
        return std::make_unique<X11SystemSettings>();
    case PointerDesktop::Gnome:
        return std::make_unique<GnomeSystemSettings>();
    case PointerDesktop::Kde:
        return std::make_unique<KdeSystemSettings>();
    case PointerDesktop::OtherWayland:
        break;
    }
    return std::make_unique<NoPointerSettings>();
}

} // namespace

SessionEnvironment SessionEnvironment::OfProcess() {
    return {Variable("XDG_SESSION_TYPE"), Variable("XDG_CURRENT_DESKTOP"),
            Variable("WAYLAND_DISPLAY")};
}

PointerDesktop PointerDesktopOf(const SessionEnvironment& session) {
    const bool wayland = SameName(session.sessionType, "wayland") ||
                         (!SameName(session.sessionType, "x11") && !session.waylandDisplay.empty());
    if (!wayland) {
        return PointerDesktop::X11;
    }
    std::string_view names = session.currentDesktop;
    while (!names.empty()) {
        const size_t colon = names.find(':');
        const std::string_view name = names.substr(0, colon);
        if (SameName(name, "GNOME")) {
            return PointerDesktop::Gnome;
        }
        if (SameName(name, "KDE")) {
            return PointerDesktop::Kde;
        }
        names = colon == std::string_view::npos ? std::string_view() : names.substr(colon + 1);
    }
    return PointerDesktop::OtherWayland;
}

SessionSystemSettings::SessionSystemSettings(const SessionEnvironment& session)
    : desktop_(PointerDesktopOf(session)),
      desktopName_(session.currentDesktop.empty() ? "unnamed" : session.currentDesktop),
      settings_(SettingsOf(desktop_)) {}

SessionSystemSettings::~SessionSystemSettings() = default;

std::optional<int> SessionSystemSettings::PointerSpeed() {
    std::optional<int> speed = settings_->PointerSpeed();
    if (!speed && desktop_ != PointerDesktop::X11 && !toldLeftAlone_) {
        toldLeftAlone_ = true;
        std::fprintf(stderr,
                     "xk-r40: the pointer speed is left alone: no pointer speed setting of this "
                     "Wayland desktop (%s) can be reached\n",
                     desktopName_.c_str());
    }
    return speed;
}

void SessionSystemSettings::SetPointerSpeed(int speed) {
    settings_->SetPointerSpeed(speed);
}

std::optional<int> SessionSystemSettings::WheelScrollLines() {
    return settings_->WheelScrollLines();
}

void SessionSystemSettings::SetWheelScrollLines(int lines) {
    settings_->SetWheelScrollLines(lines);
}

std::optional<std::string> SessionSystemSettings::PointerSetting() {
    return settings_->PointerSetting();
}

void SessionSystemSettings::RestorePointerSetting(const std::string& setting) {
    settings_->RestorePointerSetting(setting);
}

} // namespace xk
