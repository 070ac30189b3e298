#include "platform/ExitSignals.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>

#include <vector>

namespace xk {
namespace {

bool Readable(int fd) {
    pollfd ready{fd, POLLIN, 0};
    return ::poll(&ready, 1, 5000) == 1;
}

TEST(ExitSignalsTest, TermIntAndHupArriveOnThePipeAndTheHandlersGoBackAfter) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::signal(signal, SIG_DFL);
    }
    {
        ExitSignals signals;
        ASSERT_GE(signals.Fd(), 0);
        EXPECT_TRUE(signals.Take().empty());
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            ASSERT_EQ(::raise(signal), 0) << signal; // the process goes on
            ASSERT_TRUE(Readable(signals.Fd())) << signal;
            EXPECT_EQ(signals.Take(), std::vector<int>{signal});
        }
        ExitSignals second;
        EXPECT_EQ(second.Fd(), -1) << "one instance at a time";
    }
    struct sigaction now {};
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &now), 0);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

// nohup and background jobs start the program with some signals ignored.
TEST(ExitSignalsTest, ASignalIgnoredAtStartStaysIgnored) {
    ::signal(SIGHUP, SIG_IGN);
    ::signal(SIGTERM, SIG_DFL);
    ExitSignals signals;
    ASSERT_EQ(::raise(SIGHUP), 0);
    ASSERT_EQ(::raise(SIGTERM), 0);
    ASSERT_TRUE(Readable(signals.Fd()));
    EXPECT_EQ(signals.Take(), std::vector<int>{SIGTERM});
    ::signal(SIGHUP, SIG_DFL);
}

} // namespace
} // namespace xk
