#pragma once

#include "ctl/Arguments.h"
#include "ctl/CommandOutput.h"
#include "ctl/ControlHost.h"

namespace xk::ctl {

// Runs a command on its host and answers the exit status. Everything is checked before the
// first change: a refused command changes nothing.
int RunCommand(const Command& command, ControlHost& host, CommandOutput& output);

} // namespace xk::ctl
