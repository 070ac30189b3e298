#include "ProgramClient.h"

#include "ctl/ExitCodes.h"
#include "ctl/PeerCredentials.h"
#include "ctl/RequestProtocol.h"
#include "platform/UnixSocket.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

namespace xk::ctl {

namespace {

// The program holds its lock a moment before it listens: try for a few seconds.
constexpr int kConnectAttempts = 25;
constexpr auto kConnectPause = std::chrono::milliseconds(200);
// A command takes milliseconds; a program that stays silent this long is stuck.
constexpr int kAnswerTimeoutMs = 30000;
constexpr size_t kMaxAnswerBytes = 1024 * 1024;

UniqueFd Connect(const std::string& socketPath) {
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        UniqueFd fd = ConnectUnixSocket(socketPath);
        if (fd.valid()) {
            return fd;
        }
        std::this_thread::sleep_for(kConnectPause);
    }
    return {};
}

int Failed(const char* what) {
    std::fprintf(stderr, "xk-r40-ctl: xk-r40 runs, but %s\n", what);
    return kExitFailed;
}

} // namespace

int AskProgram(const std::string& socketPath, const std::vector<std::string>& arguments) {
    const UniqueFd fd = Connect(socketPath);
    if (!fd.valid()) {
        return Failed("does not answer on its socket");
    }
    // Only the user's own program may answer for it.
    if (!PeerIsSameUser(fd.get())) {
        std::fprintf(stderr, "xk-r40-ctl: %s is served by another user; nothing was sent\n",
                     socketPath.c_str());
        return kExitFailed;
    }
    if (!SendAll(fd.get(), EncodeRequest(arguments))) {
        return Failed("closed its socket before the request was sent");
    }
    std::string pending;
    size_t received = 0;
    while (true) {
        for (size_t newline = pending.find('\n'); newline != std::string::npos;
             newline = pending.find('\n')) {
            const AnswerLine line = ParseAnswerLine(std::string_view(pending).substr(0, newline));
            pending.erase(0, newline + 1);
            switch (line.kind) {
            case AnswerLine::Kind::Out:
                std::printf("%s\n", line.text.c_str());
                break;
            case AnswerLine::Kind::Err:
                std::fprintf(stderr, "%s\n", line.text.c_str());
                break;
            case AnswerLine::Kind::Exit:
                return line.exitStatus;
            case AnswerLine::Kind::Malformed:
                return Failed("gave an answer xk-r40-ctl does not understand");
            }
        }
        pollfd ready{fd.get(), POLLIN, 0};
        const int polled = ::poll(&ready, 1, kAnswerTimeoutMs);
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled <= 0) {
            return Failed("gave no answer in time");
        }
        char chunk[4096];
        const ssize_t got = ::recv(fd.get(), chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return Failed("ended the connection before its answer was complete");
        }
        received += static_cast<size_t>(got);
        if (received > kMaxAnswerBytes) {
            return Failed("gave an answer too long to be one");
        }
        pending.append(chunk, static_cast<size_t>(got));
    }
}

} // namespace xk::ctl
