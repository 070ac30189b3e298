#pragma once

namespace xk {

// The pointer speed of the Wayland desktops (GNOME's mouse speed, KDE Plasma's pointer
// acceleration): libinput's scale, -1 (slowest) to 1 (fastest), 0 the default. Speed 10 of the
// 1..20 scale is 0, speed 1 is -1 and speed 20 is 1, in equal steps on each side.
double DesktopSpeedOfPointerSpeed(int speed);
// Back to the 1..20 scale, rounded to the nearest speed and kept in 1..20.
int PointerSpeedOfDesktopSpeed(double desktopSpeed);

} // namespace xk
