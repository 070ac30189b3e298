#include "platform/UnixSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace xk {

namespace {

constexpr size_t kChunk = 4096;
// A line longer than this is not one the protocol sends: the stream is treated as broken.
constexpr size_t kMaxLine = 64 * 1024;

// The poll timeout that ends at `deadline`: rounded up, 0 once it has passed.
int MillisecondsUntil(Deadline deadline) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= Deadline::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<decltype(ms)>(ms, std::numeric_limits<int>::max()));
}

} // namespace

UniqueFd ConnectUnixSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return {};
    }
    std::memcpy(address.sun_path, path.data(), path.size());
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        return {};
    }
    int result = 0;
    do {
        result = ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        return {};
    }
    return fd;
}

UniqueFd ListenUnixSocket(const std::string& path, std::string& error) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        error = "the socket path is too long: " + path;
        return {};
    }
    std::memcpy(address.sun_path, path.data(), path.size());
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid() ||
        ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = "cannot listen on " + path + ": " + std::strerror(errno);
        return {};
    }
    // Nothing connects before listen(), so the mode is set in time.
    if (::chmod(path.c_str(), 0600) != 0 || ::listen(fd.get(), SOMAXCONN) != 0) {
        error = "cannot listen on " + path + ": " + std::strerror(errno);
        ::unlink(path.c_str());
        return {};
    }
    return fd;
}

bool SendAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t sent = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

bool SendAllBefore(int fd, std::string_view text, Deadline deadline) {
    while (!text.empty()) {
        const ssize_t sent = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent >= 0) {
            text.remove_prefix(static_cast<size_t>(sent));
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            return false;
        }
        pollfd ready{fd, POLLOUT, 0};
        const int waited = ::poll(&ready, 1, MillisecondsUntil(deadline));
        if (waited == 0) {
            return false;
        }
        if (waited < 0 && errno != EINTR) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> LineReader::ReadLine(int wakeFd) {
    return ReadLineUntil(wakeFd, std::nullopt);
}

std::optional<std::string> LineReader::ReadLineBefore(Deadline deadline, int wakeFd) {
    return ReadLineUntil(wakeFd, deadline);
}

std::optional<std::string> LineReader::ReadLineUntil(int wakeFd, std::optional<Deadline> deadline) {
    while (true) {
        const size_t newline = pending_.find('\n');
        if (newline != std::string::npos) {
            std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return line;
        }
        if (pending_.size() > kMaxLine) {
            return std::nullopt;
        }
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const int ready =
            ::poll(fds, wakeFd >= 0 ? 2 : 1, deadline ? MillisecondsUntil(*deadline) : -1);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (ready == 0) {
            return std::nullopt; // the deadline passed
        }
        if (wakeFd >= 0 && (fds[1].revents & POLLIN) != 0) {
            return std::nullopt;
        }
        char chunk[kChunk];
        const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return std::nullopt;
        }
        pending_.append(chunk, static_cast<size_t>(got));
    }
}

std::string LineReader::ReadAll() {
    std::string out = std::move(pending_);
    pending_.clear();
    char chunk[kChunk];
    while (true) {
        const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return out;
        }
        out.append(chunk, static_cast<size_t>(got));
    }
}

} // namespace xk
