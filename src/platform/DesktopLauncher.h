#pragma once

#include "device/Launcher.h"

#include <string>
#include <vector>

namespace xk {

// Starts the first program found on PATH of a short list, detached from this process, with no
// shell: gnome-calculator, kcalc, galculator, xcalc for the calculator; x-terminal-emulator,
// gnome-terminal, konsole, xterm for the terminal.
class DesktopLauncher final : public Launcher {
public:
    void Launch(LaunchTarget target) override;

    static const std::vector<std::string>& Candidates(LaunchTarget target);
    // The full path of the first candidate found on `searchPath` (a PATH value); empty when
    // none is there.
    static std::string FindProgram(const std::vector<std::string>& candidates,
                                   const std::string& searchPath);
};

} // namespace xk
