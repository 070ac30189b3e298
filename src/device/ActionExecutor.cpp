#include "device/ActionExecutor.h"

namespace xk {

ActionExecutor::ActionExecutor(ButtonActions& actions, ExecutorFlags& flags, StopSignal& shutdown)
    : actions_(actions), flags_(flags), shutdown_(shutdown) {}

ActionExecutor::~ActionExecutor() {
    Stop();
}

void ActionExecutor::Start() {
    if (thread_.joinable() || shutdown_.raised()) {
        return;
    }
    thread_ = std::thread([this] { Run(); });
}

void ActionExecutor::Stop() {
    shutdown_.Raise();
    {
        // Taken so the raise cannot fall between the executor's check and its wait.
        const std::lock_guard lock(flags_.mutex);
    }
    flags_.eventTaken.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ActionExecutor::Run() {
    if (onThreadStart_) {
        onThreadStart_();
    }
    std::unique_lock lock(flags_.mutex);
    while (true) {
        flags_.eventTaken.wait(lock,
                               [this] { return shutdown_.raised() || flags_.eventPending.load(); });
        if (shutdown_.raised()) {
            return;
        }
        const uint8_t code = flags_.eventCode.load();
        const uint8_t data = flags_.eventData.load();
        lock.unlock();
        actions_.Handle(code, data);
        lock.lock();
        flags_.eventPending.store(false);
        flags_.stopRequested.store(false);
        handled_.fetch_add(1);
    }
}

} // namespace xk
