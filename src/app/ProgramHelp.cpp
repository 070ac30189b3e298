#include "app/ProgramHelp.h"

namespace xk {

namespace {

constexpr std::string_view kUsage = "usage: xk-r40 [--hidden] [--virtual-mouse [SOCKET]]\n";

constexpr std::string_view kHelp =
    R"(usage: xk-r40 [--hidden] [--virtual-mouse [SOCKET]]

The configuration utility of the XK-R40 GAMING MOUSE: its four DPI levels, the wheel, the
light, the fire time, a function for each of its eight buttons and keyboard macros, in five
configurations, in English or Chinese. It shows one window and a tray icon and keeps running
in the background, since it carries out the mouse's macro, media and program buttons; it ends
when the mouse is unplugged, or with Exit Driver. Starting it again shows the window of the
one already running.

options:
  --hidden                  start in the tray (minimised where the desktop has no tray);
                            without the mouse, say so on stderr alone and end; while it
                            runs already, end and leave its window as it is
  --virtual-mouse [SOCKET]  use xk-r40-vmouse on SOCKET (default: xk-r40-vmouse.sock in the
                            user's runtime folder) instead of the mouse
  -h, --help                this help
  --version                 the version

files:
  $XDG_CONFIG_HOME/xk-r40/  your config.ini, Macro_EN.dat and Macro_CN.dat, made from the
                            delivered ones at the first start (~/.config/xk-r40/ where
                            XDG_CONFIG_HOME is not set)
  PREFIX/share/xk-r40/      the skins, constMacro.dat, the delivered config.ini and macro
                            files, the udev rule

The mouse's hidraw interfaces are open to the user at the seat through the udev rule
70-xk-r40.rules, which also starts the systemd user unit xk-r40.service (xk-r40 --hidden)
when the mouse is plugged in.

exit status: 0 ended; 1 no display to show the window on; 2 a command line refused.

see also: xk-r40-ctl(1), which sets the mouse from a terminal or a script.
)";

} // namespace

std::string_view ProgramHelp() {
    return kHelp;
}

std::string_view ProgramUsage() {
    return kUsage;
}

} // namespace xk
