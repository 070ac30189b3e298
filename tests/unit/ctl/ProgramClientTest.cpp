// xk-r40-ctl's client of the running program, against a server of another user.
#include "ProgramClient.h"

#include "ctl/ExitCodes.h"
#include "platform/UnixSocket.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace xk::ctl {
namespace {

// Serves `path` as user 65534: reports "L" once it listens, then what a client sent to it, and
// answers as if it had done the command.
[[noreturn]] void ServeAsAnotherUser(const std::string& path, int report) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
        ::_exit(3);
    }
    std::string error;
    const UniqueFd listening = ListenUnixSocket(path, error);
    if (!listening.valid() || ::chmod(path.c_str(), 0666) != 0) {
        ::_exit(4);
    }
    (void)!::write(report, "L", 1);
    pollfd ready{listening.get(), POLLIN, 0};
    if (::poll(&ready, 1, 10000) != 1) {
        ::_exit(5);
    }
    const UniqueFd peer(::accept(listening.get(), nullptr, nullptr));
    ready = {peer.get(), POLLIN, 0};
    char chunk[256];
    if (::poll(&ready, 1, 2000) == 1) {
        const ssize_t got = ::recv(peer.get(), chunk, sizeof chunk, MSG_DONTWAIT);
        if (got > 0) {
            (void)!::write(report, chunk, static_cast<size_t>(got));
            SendAll(peer.get(), "out done\nexit 0\n");
        }
    }
    ::_exit(0);
}

TEST(ProgramClientTest, NothingIsSentToAServerOfAnotherUser) {
    if (::getuid() != 0) {
        GTEST_SKIP() << "only root can serve a socket as another user";
    }
    test::TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    const std::string path = (dir / "program.sock").string();
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(report[0]);
        ServeAsAnotherUser(path, report[1]);
    }
    ::close(report[1]);
    char listening = 0;
    ASSERT_EQ(::read(report[0], &listening, 1), 1);

    testing::internal::CaptureStderr();
    const int status = AskProgram(path, {"status"});
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, kExitFailed);
    EXPECT_NE(said.find("another user"), std::string::npos) << said;

    std::string received;
    char chunk[256];
    for (ssize_t got = 0; (got = ::read(report[0], chunk, sizeof chunk)) > 0;) {
        received.append(chunk, static_cast<size_t>(got));
    }
    ::close(report[0]);
    int childStatus = 0;
    ::waitpid(child, &childStatus, 0);
    EXPECT_EQ(received, "") << "the request went to another user";
}

} // namespace
} // namespace xk::ctl
