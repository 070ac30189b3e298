#pragma once

#include "device/HidTransport.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace xk {

// $XDG_RUNTIME_DIR/xk-r40-vmouse.sock, or /tmp/xk-r40-vmouse-<uid>.sock without that variable.
std::string DefaultVirtualMouseSocket();

// The main program's command line: --virtual-mouse [PATH] and --hidden, each at most once.
struct CommandLine {
    std::optional<std::string> virtualMouseSocket; // set with --virtual-mouse
    bool hidden = false;                           // --hidden: start in the tray
    std::string error;                             // not empty for a command line it refuses
};
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// hidraw and udev normally; the virtual mouse's socket with --virtual-mouse.
std::unique_ptr<HidTransport> MakeTransport(const CommandLine& commandLine);

} // namespace xk
