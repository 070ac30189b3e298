#include "VirtualMouseServer.h"

#include "ConnectionLines.h"
#include "HidrawNodes.h"
#include "device/VirtualMouse.h"
#include "platform/UniqueFd.h"
#include "platform/UnixSocket.h"
#include "platform/VirtualMouseProtocol.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <list>
#include <memory>
#include <optional>
#include <vector>

namespace xk {

namespace {

constexpr size_t kMaxPendingInput = 64 * 1024;
// A reader that has stopped reading is dropped rather than held in memory without end.
constexpr size_t kMaxPendingOutput = 1024 * 1024;
// How long the listening socket rests after an accept failed for want of descriptors.
constexpr auto kAcceptPause = std::chrono::milliseconds(200);

struct Connection : ConnectionState {
    UniqueFd fd;
    std::string in;
};

class Server {
public:
    Server(std::string socketPath, std::string logFile, VirtualMouse::Nodes nodes,
           const HidrawPlaces& hidraw)
        : socketPath_(std::move(socketPath)), logFile_(std::move(logFile)),
          start_(std::chrono::steady_clock::now()), mouse_([this] { return Micros(); }, nodes),
          lines_(mouse_, [this](const std::vector<uint8_t>& report) { SendInput(report); }) {
        if (!hidraw.devDir.empty()) {
            hidraw_ = std::make_unique<HidrawNodes>(mouse_, hidraw.devDir, hidraw.sysDir);
            lines_.SetMoreCommands([this](const std::vector<std::string_view>& words) {
                return hidraw_->Command(words);
            });
        }
    }

    int Run();

private:
    int64_t Micros() const {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now() - start_)
            .count();
    }
    bool Listen();
    void Accept();
    void Receive(Connection& connection);
    void SendInput(const std::vector<uint8_t>& report);
    void Flush(Connection& connection);
    void WriteNewLogLines();

    std::string socketPath_;
    std::string logFile_;
    std::ofstream log_;
    size_t logged_ = 0;
    std::chrono::steady_clock::time_point start_;
    VirtualMouse mouse_;
    ConnectionLines lines_;
    UniqueFd listen_;
    std::chrono::steady_clock::time_point acceptResumes_;
    bool acceptTroubleSaid_ = false;
    UniqueFd signals_;
    std::list<Connection> connections_;
    std::unique_ptr<HidrawNodes> hidraw_;
};

bool Server::Listen() {
    if (ConnectUnixSocket(socketPath_).valid()) {
        std::fprintf(stderr, "xk-r40-vmouse: a virtual mouse already serves %s\n",
                     socketPath_.c_str());
        return false;
    }
    ::unlink(socketPath_.c_str()); // a stale socket left by a crash
    std::string error;
    listen_ = ListenUnixSocket(socketPath_, error);
    if (!listen_.valid()) {
        std::fprintf(stderr, "xk-r40-vmouse: %s\n", error.c_str());
        return false;
    }
    return true;
}

void Server::Accept() {
    while (true) {
        UniqueFd fd(::accept4(listen_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (fd.valid()) {
            acceptTroubleSaid_ = false;
            connections_.emplace_back().fd = std::move(fd);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED) {
            continue;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return;
        }
        // Out of descriptors or memory: the connection waits in the queue while the listening
        // socket rests, instead of waking poll() again at once.
        if (!acceptTroubleSaid_) {
            std::fprintf(stderr, "xk-r40-vmouse: cannot take a connection (%s); trying again\n",
                         std::strerror(errno));
            acceptTroubleSaid_ = true;
        }
        acceptResumes_ = std::chrono::steady_clock::now() + kAcceptPause;
        return;
    }
}

void Server::Receive(Connection& connection) {
    char chunk[4096];
    while (true) {
        const ssize_t got = ::recv(connection.fd.get(), chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && errno == EAGAIN) {
            break;
        }
        if (got <= 0) {
            connection.dead = true;
            break;
        }
        connection.in.append(chunk, static_cast<size_t>(got));
    }
    size_t newline = 0;
    while (!connection.dead && !lines_.unplugged() &&
           (newline = connection.in.find('\n')) != std::string::npos) {
        const std::string line = connection.in.substr(0, newline);
        connection.in.erase(0, newline + 1);
        lines_.HandleLine(connection, line);
        WriteNewLogLines();
    }
    if (connection.in.size() > kMaxPendingInput) {
        connection.dead = true; // not a client of this protocol
    }
}

void Server::SendInput(const std::vector<uint8_t>& report) {
    if (hidraw_) {
        hidraw_->SendInput(VirtualMouse::kInputInterface, report);
    }
    const std::string line = "input " + vmouse::HexBytes(report) + "\n";
    for (Connection& connection : connections_) {
        if (connection.role == Role::Reader && mouse_.SendsInput(connection.interfaceIndex)) {
            connection.out += line;
            Flush(connection);
        }
    }
    WriteNewLogLines();
}

void Server::Flush(Connection& connection) {
    while (!connection.out.empty() && !connection.dead) {
        const ssize_t sent =
            ::send(connection.fd.get(), connection.out.data(), connection.out.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent < 0 && errno == EAGAIN) {
            if (connection.out.size() > kMaxPendingOutput) {
                connection.dead = true;
            }
            return;
        }
        if (sent <= 0) {
            connection.dead = true;
            return;
        }
        connection.out.erase(0, static_cast<size_t>(sent));
    }
    if (connection.out.empty() && connection.closeWhenSent) {
        connection.dead = true;
    }
}

void Server::WriteNewLogLines() {
    const auto& entries = mouse_.log();
    if (log_.is_open()) {
        for (; logged_ < entries.size(); ++logged_) {
            log_ << VirtualMouse::LogLine(entries[logged_]);
        }
        log_.flush();
    }
    logged_ = entries.size();
}

int Server::Run() {
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGTERM);
    sigaddset(&mask, SIGINT);
    sigprocmask(SIG_BLOCK, &mask, nullptr);
    signals_.Reset(::signalfd(-1, &mask, SFD_CLOEXEC | SFD_NONBLOCK));
    if (!logFile_.empty()) {
        log_.open(logFile_, std::ios::out | std::ios::trunc);
        if (!log_) {
            std::fprintf(stderr, "xk-r40-vmouse: cannot write the log %s\n", logFile_.c_str());
            return 1;
        }
    }
    if (!signals_.valid() || !Listen()) {
        return 1;
    }
    if (hidraw_) {
        std::string error;
        if (!hidraw_->Start(error)) {
            std::fprintf(stderr, "xk-r40-vmouse: %s\n", error.c_str());
            ::unlink(socketPath_.c_str());
            return 1;
        }
    }
    std::printf("serving %s\n", socketPath_.c_str());
    std::fflush(stdout);

    bool stop = false;
    while (!stop && !lines_.unplugged()) {
        std::vector<pollfd> fds;
        const auto now = std::chrono::steady_clock::now();
        const bool accepting = now >= acceptResumes_;
        fds.push_back({listen_.get(), static_cast<short>(accepting ? POLLIN : 0), 0});
        fds.push_back({signals_.get(), POLLIN, 0});
        fds.push_back({hidraw_ ? hidraw_->Fd() : -1, POLLIN, 0});
        for (const Connection& connection : connections_) {
            const auto events = static_cast<short>(POLLIN | (connection.out.empty() ? 0 : POLLOUT));
            fds.push_back({connection.fd.get(), events, 0});
        }
        const int timeout =
            accepting
                ? -1
                : static_cast<int>(
                      std::chrono::ceil<std::chrono::milliseconds>(acceptResumes_ - now).count());
        if (::poll(fds.data(), fds.size(), timeout) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            stop = true;
        }
        if ((fds[2].revents & POLLIN) != 0) {
            hidraw_->Process();
            WriteNewLogLines();
        }
        size_t i = 3;
        for (Connection& connection : connections_) {
            const short revents = fds[i++].revents;
            if ((revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
                Receive(connection);
            }
            if ((revents & POLLOUT) != 0) {
                Flush(connection);
            }
            Flush(connection);
        }
        connections_.remove_if([](const Connection& connection) { return connection.dead; });
        if ((fds[0].revents & POLLIN) != 0) {
            Accept();
        }
    }
    // Removal: the command that asked for it gets its answer, every connection closes.
    for (Connection& connection : connections_) {
        if (connection.role == Role::Command && !connection.out.empty()) {
            const int fd = connection.fd.get();
            ::fcntl(fd, F_SETFL, 0);
            SendAll(fd, connection.out);
        }
    }
    connections_.clear();
    listen_.Reset();
    ::unlink(socketPath_.c_str());
    return 0;
}

} // namespace

int ServeVirtualMouse(const std::string& socketPath, const std::string& logFile,
                      VirtualMouse::Nodes nodes, const HidrawPlaces& hidraw) {
    Server server(socketPath, logFile, nodes, hidraw);
    return server.Run();
}

} // namespace xk
