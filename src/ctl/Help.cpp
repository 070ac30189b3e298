#include "ctl/Help.h"

#include <utility>

namespace xk::ctl {

namespace {

constexpr std::string_view kOverview =
    R"(usage: xk-r40-ctl [--virtual-mouse [SOCKET]] COMMAND [ARGUMENTS]

The XK-R40 GAMING MOUSE from a terminal or a script. While xk-r40 runs, xk-r40-ctl asks it to
make the change, so its window shows it; otherwise xk-r40-ctl does the work itself, with the
same files: config.ini and the macro files in $XDG_CONFIG_HOME/xk-r40 (~/.config/xk-r40).

commands:
  status               the mouse, the current configuration and its fields
  functions            the functions a button can get, by code and name
  config N             make configuration N (1..5) current and apply it
  set KEY VALUE...     change fields of the current configuration, save and apply them
  apply                send the current configuration to the mouse again
  profile export FILE  write the current configuration into a profile file
  profile import FILE  read a profile file into the current configuration and apply it
  macros list          the user macros
  macros export FILE   write the user macros into a macro file
  macros import FILE   replace the user macros with those of a macro file
  reset --yes          factory reset of the five configurations and the user macros
  help [COMMAND]       this text, or the help of a command (also: COMMAND --help)

options:
  --virtual-mouse [SOCKET]  use xk-r40-vmouse on SOCKET (default
                            $XDG_RUNTIME_DIR/xk-r40-vmouse.sock) instead of hidraw
  -h, --help                help
  --version                 the version

exit status: 0 done; 1 a file could not be read or written, or xk-r40 did not answer, or
the mouse did not answer (the change is then saved but not in the mouse); 2 a command, key,
name or value refused; 3 no mouse. Otherwise nothing changes unless it is 0.
)";

constexpr std::string_view kStatus = R"(usage: xk-r40-ctl status

Whether the mouse is there and through what (hidraw or the virtual mouse), who answers
(xk-r40 or xk-r40-ctl itself), the language, the current configuration and every field of it,
button functions with the names the window shows. Exits with 3 when there is no mouse.
)";

constexpr std::string_view kFunctions = R"(usage: xk-r40-ctl functions

The functions a button can get, as the window's popups offer them: code and name in the
current language. User macros are listed while they exist. `set K0..K7` takes either.
)";

constexpr std::string_view kConfig = R"(usage: xk-r40-ctl config N

Makes configuration N (1..5) current, as its button in the window does, and applies it: the
mouse gets it and config.ini keeps it as CurConfig.
)";

constexpr std::string_view kSet = R"(usage: xk-r40-ctl set KEY VALUE [KEY VALUE]...

Changes fields of the current configuration, saves them and applies them to the mouse, all or
nothing. Keys are those of config.ini, in any letter case:
  K0 .. K7        the function of a button: a code or a name (see: xk-r40-ctl functions)
  DPI_LEVEL       the active DPI level, 0..3; it must be an enabled level
  DPI_SET0 .. 3   the DPI step of a level, 0..11
  DPI_SET_EN0 .. 3  1 when the level takes part in DPI switching, else 0; one stays enabled
  WHEEL_STATUS    0 or 1
  MACRO_MODE2     0: a macro plays its repeat count; 1: it repeats until it is stopped
  LED_STATUS      the light mode, 0..3
  DPI_SPEED       the pointer speed, 0..9
  WHEEL_SPEED     the wheel speed, 0..9 (lines scrolled - 1)
  FIRE_TIME       the fire time in milliseconds, 0..300
One button always keeps Left Click (code 1). USB_SPEED follows the mouse's report-rate
button and is not set. Turning off the active DPI level moves it to the next enabled one.

example: xk-r40-ctl set DPI_SET1 7 K5 "Volume Up"
)";

constexpr std::string_view kApply = R"(usage: xk-r40-ctl apply

Sends the current configuration to the mouse and saves it, as the window's apply button does.
)";

constexpr std::string_view kProfile = R"(usage: xk-r40-ctl profile export FILE
       xk-r40-ctl profile import FILE

export writes the current configuration into the section [Config7] of FILE; the rest of an
existing file stays. import reads [Config7] of FILE into the current configuration, saves and
applies it. A file is refused, naming the first key at fault, unless [Config7] holds every key
with a value in its range (see: xk-r40-ctl set --help; K0..K7 any code 0..54), one button has
Left Click and one DPI level is enabled; files above 1 MiB are refused unread. Nothing changes
then (exit 2).
)";

constexpr std::string_view kMacros = R"(usage: xk-r40-ctl macros list
       xk-r40-ctl macros export FILE
       xk-r40-ctl macros import FILE

list shows the user macros with their function codes (41..52). export writes them into a
macro file (.dat). import replaces them with the macros of FILE and saves them into the user
macro file of the current language. A file is refused and nothing changes unless it has a
[Macros] section with macroNum 0..12 and a readable value (three-digit byte values) for each
macro; files above 1 MiB are refused unread.
)";

constexpr std::string_view kReset = R"(usage: xk-r40-ctl reset --yes

The factory reset: all five configurations and the user macros of the current language go
back to the factory ones, and the current configuration is applied. --yes confirms it.
)";

constexpr std::string_view kHelp = R"(usage: xk-r40-ctl help [COMMAND]

The overview, or the help of one command.
)";

} // namespace

std::string HelpText(std::string_view topic) {
    if (topic.empty()) {
        return std::string(kOverview);
    }
    const std::pair<std::string_view, std::string_view> texts[] = {
        {"status", kStatus}, {"functions", kFunctions}, {"config", kConfig},
        {"set", kSet},       {"apply", kApply},         {"profile", kProfile},
        {"macros", kMacros}, {"reset", kReset},         {"help", kHelp},
    };
    for (const auto& [name, text] : texts) {
        if (name == topic) {
            return std::string(text);
        }
    }
    return {};
}

} // namespace xk::ctl
