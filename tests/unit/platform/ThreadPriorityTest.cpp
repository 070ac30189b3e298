#include "platform/ThreadPriority.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <thread>

namespace xk {
namespace {

int NiceOfThisThread() {
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
}

TEST(ThreadPriorityTest, RaisesOnlyTheCallingThreadWhereAllowed) {
    const int mainBefore = NiceOfThisThread();
    // Whether this process may raise a thread by five steps at all.
    bool allowed = false;
    std::thread([&] {
        allowed =
            ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), NiceOfThisThread() - 5) == 0;
    }).join();
    int before = 0;
    int after = 0;
    std::thread([&] {
        before = NiceOfThisThread();
        RaiseCurrentThreadPriority();
        after = NiceOfThisThread();
    }).join();
    if (allowed) {
        EXPECT_EQ(after, before - 5);
    } else {
        EXPECT_LE(after, before) << "never lowered";
    }
    EXPECT_EQ(NiceOfThisThread(), mainBefore) << "other threads keep theirs";
}

} // namespace
} // namespace xk
