#pragma once

#include "device/VirtualMouse.h"

#include <string>

namespace xk {

// Where the mouse also appears as hidraw nodes (empty: only on the socket).
struct HidrawPlaces {
    std::string devDir;
    std::string sysDir = "/sys/class/hidraw";
};

// Serves the virtual mouse on a Unix socket until SIGTERM, SIGINT or the unplug command, its
// vendor collections on nodes of their own or on one node. Every report is logged in memory
// and, with a log file, appended to it as it happens. With hidraw places the mouse is also
// served there, and its unplug does not end the server. Returns the process exit status.
int ServeVirtualMouse(const std::string& socketPath, const std::string& logFile,
                      VirtualMouse::Nodes nodes, const HidrawPlaces& hidraw = {});

} // namespace xk
