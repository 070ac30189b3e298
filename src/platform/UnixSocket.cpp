#include "platform/UnixSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <cstring>

namespace xk {

namespace {

constexpr size_t kChunk = 4096;
// A line longer than this is not one the protocol sends: the stream is treated as broken.
constexpr size_t kMaxLine = 64 * 1024;

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

std::optional<std::string> LineReader::ReadLine(int wakeFd) {
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
        const int ready = ::poll(fds, wakeFd >= 0 ? 2 : 1, -1);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
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
