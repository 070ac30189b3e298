#pragma once

#include "device/VirtualMouse.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xk {

// What a connection to the virtual mouse has become by its first line.
enum class Role { New, Reader, Writer, Identify, Watch, Command };

// One connection's side of the line protocol: its role and what is still to be sent to it.
struct ConnectionState {
    Role role = Role::New;
    int interfaceIndex = -1;
    std::string out;
    bool closeWhenSent = false;
    bool dead = false;
};

// The virtual mouse's answers to the lines of its connections, apart from the socket: each
// line changes the mouse and queues its answer in the connection's `out`; the input reports
// that a command makes go to `sendInput`, for the readers.
class ConnectionLines {
public:
    using InputSender = std::function<void(const std::vector<uint8_t>& report)>;
    // Commands of another part of the server, asked first: the answer, or nothing when the
    // command is not theirs.
    using MoreCommands =
        std::function<std::optional<std::string>(const std::vector<std::string_view>& words)>;

    ConnectionLines(VirtualMouse& mouse, InputSender sendInput);
    void SetMoreCommands(MoreCommands more) { more_ = std::move(more); }

    // One line, without its newline.
    void HandleLine(ConnectionState& connection, const std::string& line);
    // Whether a connection asked for the mouse's removal.
    bool unplugged() const { return unplugged_; }

private:
    std::string Command(const std::vector<std::string_view>& words);

    VirtualMouse& mouse_;
    InputSender sendInput_;
    MoreCommands more_;
    bool unplugged_ = false;
};

} // namespace xk
