#include "platform/ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace xk {

namespace {

constexpr int kRaise = 5; // nice steps above the program's other threads

bool SetNice(id_t thread, int nice) {
    return ::setpriority(PRIO_PROCESS, thread, nice) == 0;
}

} // namespace

void RaiseCurrentThreadPriority() {
    // On Linux a nice value set for a thread id applies to that thread alone.
    const auto thread = static_cast<id_t>(::gettid());
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, thread);
    if (current == -1 && errno != 0) {
        return;
    }
    if (SetNice(thread, current - kRaise)) {
        return;
    }
    // Without the privilege, RLIMIT_NICE may still allow part of the raise (its ceiling is a
    // nice value of 20 - limit).
    rlimit limit{};
    if (::getrlimit(RLIMIT_NICE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return;
    }
    const int lowest = 20 - static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 40));
    if (lowest < current) {
        (void)SetNice(thread, std::max(lowest, current - kRaise));
    }
}

} // namespace xk
