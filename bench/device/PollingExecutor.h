#pragma once

#include "device/ButtonActions.h"
#include "device/ExecutorFlags.h"
#include "device/StopSignal.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

namespace xk::bench {

// The executor as a 2 ms polling loop, kept only to compare against ActionExecutor.
class PollingExecutor {
public:
    PollingExecutor(ButtonActions& actions, ExecutorFlags& flags, StopSignal& shutdown);
    ~PollingExecutor();
    void SetThreadStartHook(std::function<void()> hook) { onThreadStart_ = std::move(hook); }
    void Start();
    void Stop();
    uint64_t EventsHandled() const { return handled_.load(); }

private:
    ButtonActions& actions_;
    ExecutorFlags& flags_;
    StopSignal& shutdown_;
    std::function<void()> onThreadStart_;
    std::thread thread_;
    std::atomic<uint64_t> handled_{0};
};

} // namespace xk::bench
