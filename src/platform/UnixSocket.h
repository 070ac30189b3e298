#pragma once

#include "platform/UniqueFd.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace xk {

using Deadline = std::chrono::steady_clock::time_point;

// A stream connection to a Unix socket; invalid when it cannot be made.
UniqueFd ConnectUnixSocket(const std::string& path);
// A non-blocking listening stream socket at `path` that only its user may connect to (mode
// 0600); invalid, with the reason in `error`, when it cannot be made. An existing file at
// `path` is an error: the caller removes a stale one first.
UniqueFd ListenUnixSocket(const std::string& path, std::string& error);
// Writes all of `text`; false when the peer is gone. Never raises SIGPIPE.
bool SendAll(int fd, std::string_view text);
// The same, giving up at `deadline`: false then, with part of `text` perhaps sent.
bool SendAllBefore(int fd, std::string_view text, Deadline deadline);

// Reads newline-ended lines from a blocking stream.
class LineReader {
public:
    explicit LineReader(int fd) : fd_(fd) {}

    // The next line without its newline. Nothing when the stream ends or fails, or when
    // `wakeFd` (if not -1) becomes readable first.
    std::optional<std::string> ReadLine(int wakeFd = -1);
    // The next line if it comes before `deadline` (and before `wakeFd`, if not -1, becomes
    // readable); a line cut short is kept for the next call.
    std::optional<std::string> ReadLineBefore(Deadline deadline, int wakeFd = -1);
    // Everything until the peer closes.
    std::string ReadAll();

private:
    std::optional<std::string> ReadLineUntil(int wakeFd, std::optional<Deadline> deadline);

    int fd_;
    std::string pending_;
};

} // namespace xk
