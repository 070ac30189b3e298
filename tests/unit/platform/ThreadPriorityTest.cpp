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
    int before = 0;
    int after = 0;
    std::thread([&] {
        before = NiceOfThisThread();
        RaiseCurrentThreadPriority();
        after = NiceOfThisThread();
    }).join();
    EXPECT_LE(after, before) << "never lowered";
    EXPECT_EQ(NiceOfThisThread(), mainBefore) << "other threads keep theirs";
}

} // namespace
} // namespace xk
