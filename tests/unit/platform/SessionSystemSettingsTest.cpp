#include "platform/SessionSystemSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace xk {
namespace {

TEST(SessionSystemSettings, TheSessionPicksWhosePointerSettingsAreUsed) {
    struct Case {
        SessionEnvironment session;
        PointerDesktop desktop;
    };
    const Case cases[] = {
        {{"wayland", "GNOME", "wayland-0"}, PointerDesktop::Gnome},
        {{"wayland", "ubuntu:GNOME", "wayland-0"}, PointerDesktop::Gnome},
        {{"wayland", "KDE", "wayland-0"}, PointerDesktop::Kde},
        {{"Wayland", "kde", ""}, PointerDesktop::Kde},
        {{"wayland", "sway", "wayland-1"}, PointerDesktop::OtherWayland},
        {{"wayland", "", ""}, PointerDesktop::OtherWayland},
        // No type, or one that says nothing: the Wayland display decides.
        {{"", "GNOME", "wayland-0"}, PointerDesktop::Gnome},
        {{"tty", "KDE", "wayland-0"}, PointerDesktop::Kde},
        {{"", "GNOME", ""}, PointerDesktop::X11},
        // An X session keeps the X server's settings, whatever else is set.
        {{"x11", "GNOME", "wayland-0"}, PointerDesktop::X11},
        {{"x11", "KDE", ""}, PointerDesktop::X11},
        {{"", "", ""}, PointerDesktop::X11},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PointerDesktopOf(c.session), c.desktop)
            << c.session.sessionType << " / " << c.session.currentDesktop << " / "
            << c.session.waylandDisplay;
    }
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(SessionSystemSettings, AnotherWaylandDesktopIsLeftAloneAndToldOnce) {
    SessionSystemSettings system({"wayland", "sway", "wayland-1"});
    EXPECT_EQ(system.Desktop(), PointerDesktop::OtherWayland);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(system.PointerSpeed());
    system.SetPointerSpeed(18);
    EXPECT_FALSE(system.PointerSpeed());
    EXPECT_FALSE(system.WheelScrollLines());
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Count(told, "left alone"), 1U) << told;
    EXPECT_NE(told.find("sway"), std::string::npos) << told;
}

TEST(SessionSystemSettings, AnXSessionSaysNothingWhenItsQueryFails) {
    SessionSystemSettings system({"x11", "", ""});
    EXPECT_EQ(system.Desktop(), PointerDesktop::X11);
    testing::internal::CaptureStderr();
    system.PointerSpeed();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

} // namespace
} // namespace xk
