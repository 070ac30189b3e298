#include "app/SingleInstance.h"
#include "platform/UnixSocket.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <vector>

namespace xk::test {
namespace {

TEST(SingleInstance, SecondStartAsksTheFirstToShow) {
    TempDir dir;
    SingleInstance first;
    ASSERT_TRUE(first.BecomeFirst(dir.path()));
    EXPECT_EQ(first.ListenFailure(), "");
    QSignalSpy shown(&first, &SingleInstance::showRequested);

    SingleInstance second;
    EXPECT_FALSE(second.BecomeFirst(dir.path()));
    EXPECT_TRUE(second.AskFirstToShow());
    EXPECT_TRUE(shown.wait(5000));

    // Another person's folder is another program.
    TempDir other;
    SingleInstance ofOther;
    EXPECT_TRUE(ofOther.BecomeFirst(other.path()));
    EXPECT_NE(ofOther.SocketPath(), first.SocketPath());
}

TEST(SingleInstance, LockOfAProgramThatIsGoneIsTakenOver) {
    TempDir dir;
    SingleInstance instance;
    const std::filesystem::path socket =
        InstancePlacesFor(dir.path(), UserSocketFolderCandidates()).socket.path;
    // A lock file written by a process that no longer runs, and its socket file.
    {
        std::ofstream lock(dir / "xk-r40.lock");
        lock << "999999\nxk-r40\n" << QSysInfo::machineHostName().toStdString() << "\n";
        std::ofstream stale(socket);
    }
    EXPECT_TRUE(instance.BecomeFirst(dir.path()));
    EXPECT_EQ(instance.ListenFailure(), "");
    SingleInstance later;
    EXPECT_FALSE(later.BecomeFirst(dir.path()));
    EXPECT_TRUE(later.AskFirstToShow());
}

TEST(SingleInstance, AFolderThatTakesNoLockFileStillHasOneOwner) {
    TempDir dir;
    std::ofstream(dir / "not-a-folder") << "x";
    const std::filesystem::path folder = dir / "not-a-folder";
    SingleInstance first;
    EXPECT_TRUE(first.BecomeFirst(folder)) << first.Failure().toStdString();
    SingleInstance second;
    EXPECT_FALSE(second.BecomeFirst(folder));
    EXPECT_TRUE(second.Failure().isEmpty()) << "another instance is no failure";

    // Without a socket folder either, it says why.
    SingleInstance blocked(SocketFolderCandidates{folder / "a", folder / "b", ::getuid()});
    EXPECT_FALSE(blocked.BecomeFirst(folder));
    EXPECT_FALSE(blocked.Failure().isEmpty());
}

TEST(SingleInstance, KeepsListeningWhenConnectionsCannotBeTaken) {
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizers' vptr check tests memory through a pipe, which fails while every
    // descriptor is in use, and then reports a sound object as broken.
    GTEST_SKIP() << "needs descriptors the sanitizers' own checks would lack";
#endif
    TempDir dir;
    SingleInstance first;
    ASSERT_TRUE(first.BecomeFirst(dir.path()));
    QSignalSpy shown(&first, &SingleInstance::showRequested);
    const std::string socketPath = first.SocketPath().string();

    // Every descriptor in use: the program cannot take the connection that waits.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    const UniqueFd waiting = ConnectUnixSocket(socketPath);
    ASSERT_TRUE(waiting.valid());
    ASSERT_TRUE(SendAll(waiting.get(), "show\n"));
    testing::internal::CaptureStderr();
    rlimit low = saved;
    low.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<UniqueFd> filler;
    while (true) {
        UniqueFd fd(::open("/dev/null", O_RDONLY | O_CLOEXEC));
        if (!fd.valid()) {
            break;
        }
        filler.push_back(std::move(fd));
    }
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QTest::qWait(50);
    }
    filler.clear();
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    const std::string said = testing::internal::GetCapturedStderr();

    size_t times = 0;
    for (size_t at = said.find("still listening"); at != std::string::npos;
         at = said.find("still listening", at + 1)) {
        ++times;
    }
    EXPECT_EQ(times, 1u) << said;
    EXPECT_TRUE(std::filesystem::exists(socketPath)) << "the socket file was removed";
    // The waiting connection is served once there are descriptors again, and later ones too.
    EXPECT_TRUE(shown.wait(5000));
    SingleInstance second;
    EXPECT_FALSE(second.BecomeFirst(dir.path()));
    EXPECT_TRUE(second.AskFirstToShow());
    EXPECT_TRUE(shown.wait(5000));
}

} // namespace
} // namespace xk::test
