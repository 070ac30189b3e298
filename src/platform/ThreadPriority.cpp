#include "platform/ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace xk {

namespace {

constexpr int kRaisedNice = -5;

} // namespace

void RaiseCurrentThreadPriority() {
    // On Linux a nice value set for a thread id applies to that thread alone.
    (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kRaisedNice);
}

} // namespace xk
