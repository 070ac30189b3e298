#pragma once

#include "device/VirtualMouse.h"

#include <string>

namespace xk {

// Serves the virtual mouse on a Unix socket until SIGTERM, SIGINT or the unplug command, its
// vendor collections on nodes of their own or on one node. Every report is logged in memory
// and, with a log file, appended to it as it happens. Returns the process exit status.
int ServeVirtualMouse(const std::string& socketPath, const std::string& logFile,
                      VirtualMouse::Nodes nodes);

} // namespace xk
