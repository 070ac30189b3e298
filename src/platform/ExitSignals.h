#pragma once

#include "platform/UniqueFd.h"

#include <signal.h>

#include <utility>
#include <vector>

namespace xk {

// SIGTERM, SIGINT and SIGHUP (a service manager, Ctrl+C in a terminal, the session ending)
// turned into something the interface thread can wait for: the handler only writes the
// signal's number into a pipe, whose read end Fd() is watched like any other descriptor. A
// signal that the program was started with ignored (nohup, a background job) stays ignored.
// One instance at a time; the handlers are put back when it goes.
class ExitSignals {
public:
    ExitSignals();
    ~ExitSignals();
    ExitSignals(const ExitSignals&) = delete;
    ExitSignals& operator=(const ExitSignals&) = delete;

    // Readable when a signal has arrived; -1 when the pipe could not be made.
    int Fd() const { return readEnd_.get(); }
    // The signals that arrived since the last call, without blocking.
    std::vector<int> Take();

private:
    UniqueFd readEnd_;
    UniqueFd writeEnd_;
    std::vector<std::pair<int, struct sigaction>> replaced_;
};

} // namespace xk
