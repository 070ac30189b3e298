#pragma once

#include "device/HidTransport.h"
#include "platform/SocketPlaces.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace xk {

// xk-r40-vmouse.sock in the user's socket folder (ChooseSocketFolder), or why there is none.
SocketPlace DefaultVirtualMouseSocket();

// The main program's command line: --virtual-mouse [PATH] and --hidden, each at most once;
// --help (-h) and --version.
struct CommandLine {
    std::optional<std::string> virtualMouseSocket; // set with --virtual-mouse
    bool hidden = false;                           // --hidden: start in the tray
    bool help = false;                             // --help: print the usage, start nothing
    bool version = false;                          // --version: print the version, start nothing
    std::string error;                             // not empty for a command line it refuses
};
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// hidraw and udev normally; the virtual mouse's socket with --virtual-mouse.
std::unique_ptr<HidTransport> MakeTransport(const CommandLine& commandLine);

} // namespace xk
