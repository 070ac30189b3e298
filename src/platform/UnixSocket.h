#pragma once

#include "platform/UniqueFd.h"

#include <optional>
#include <string>
#include <string_view>

namespace xk {

// A stream connection to a Unix socket; invalid when it cannot be made.
UniqueFd ConnectUnixSocket(const std::string& path);
// Writes all of `text`; false when the peer is gone. Never raises SIGPIPE.
bool SendAll(int fd, std::string_view text);

// Reads newline-ended lines from a blocking stream.
class LineReader {
public:
    explicit LineReader(int fd) : fd_(fd) {}

    // The next line without its newline. Nothing when the stream ends or fails, or when
    // `wakeFd` (if not -1) becomes readable first.
    std::optional<std::string> ReadLine(int wakeFd = -1);
    // Everything until the peer closes.
    std::string ReadAll();

private:
    int fd_;
    std::string pending_;
};

} // namespace xk
