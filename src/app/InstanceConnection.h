#pragma once

#include <QLocalSocket>

#include <functional>
#include <string>
#include <vector>

namespace xk {

// Answers a request of xk-r40-ctl (its arguments) with the answer's lines.
using ControlRequestHandler = std::function<std::string(const std::vector<std::string>&)>;

// Serves one connection of the single-instance socket. A peer of another user is dropped
// unanswered. Otherwise one request line is read: "show" calls `show`, a command of
// xk-r40-ctl gets the lines of `answer`, a malformed or oversized request gets an error line;
// then the connection closes. One that sends no whole line in time is dropped.
void ServeInstanceConnection(QLocalSocket* socket, std::function<void()> show,
                             ControlRequestHandler answer);

} // namespace xk
