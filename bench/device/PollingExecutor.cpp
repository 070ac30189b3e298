#include "PollingExecutor.h"

#include <chrono>

namespace xk::bench {

PollingExecutor::PollingExecutor(ButtonActions& actions, ExecutorFlags& flags, StopSignal& shutdown)
    : actions_(actions), flags_(flags), shutdown_(shutdown) {}

PollingExecutor::~PollingExecutor() {
    Stop();
}

void PollingExecutor::Start() {
    thread_ = std::thread([this] {
        if (onThreadStart_) {
            onThreadStart_();
        }
        do {
            if (flags_.eventPending.load()) {
                actions_.Handle(flags_.eventCode.load(), flags_.eventData.load());
                handled_.fetch_add(1);
            }
            const std::lock_guard lock(flags_.mutex);
            flags_.eventPending.store(false);
            flags_.stopRequested.store(false);
        } while (shutdown_.SleepFor(std::chrono::milliseconds(2)));
    });
}

void PollingExecutor::Stop() {
    shutdown_.Raise();
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace xk::bench
