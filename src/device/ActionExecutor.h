#pragma once

#include "device/ButtonActions.h"
#include "device/ExecutorFlags.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

namespace xk {

// Waits for the event the listener takes, carries it out (ButtonActions), then clears the
// pending and stop flags. Idle, it sleeps on the flags' condition variable.
class ActionExecutor {
public:
    // `shutdown` is the signal the actions' sleeps watch; Stop raises it.
    ActionExecutor(ButtonActions& actions, ExecutorFlags& flags, StopSignal& shutdown);
    ~ActionExecutor();
    ActionExecutor(const ActionExecutor&) = delete;
    ActionExecutor& operator=(const ActionExecutor&) = delete;

    // Runs first on the thread (for example to raise its priority); set before Start.
    void SetThreadStartHook(std::function<void()> hook) { onThreadStart_ = std::move(hook); }
    void Start();
    // Ends a playing macro at its next wait and joins the thread. Safe to call twice.
    void Stop();
    // How many events the executor has finished with.
    uint64_t EventsHandled() const { return handled_.load(); }

private:
    void Run();

    ButtonActions& actions_;
    ExecutorFlags& flags_;
    StopSignal& shutdown_;
    std::function<void()> onThreadStart_;
    std::thread thread_;
    std::atomic<uint64_t> handled_{0};
};

} // namespace xk
