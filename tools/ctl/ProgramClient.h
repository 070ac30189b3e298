#pragma once

#include <string>
#include <vector>

namespace xk::ctl {

// Asks the running program to run a command (its arguments) through its socket and prints
// the answer as it comes: its output on standard output, its errors on standard error.
// Answers the command's exit status, or kExitFailed when the program could not be reached or
// gave no complete answer.
int AskProgram(const std::string& socketPath, const std::vector<std::string>& arguments);

} // namespace xk::ctl
