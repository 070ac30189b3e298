#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace xk {

// A stop flag with sleeps that end early when it is raised.
class StopSignal {
public:
    // Sleeps for `duration`; false when the signal was raised (before or during the sleep).
    bool SleepFor(std::chrono::steady_clock::duration duration) const {
        std::unique_lock lock(mutex_);
        const auto deadline = std::chrono::steady_clock::now() + duration;
        return !changed_.wait_until(lock, deadline, [this] { return stopped_; });
    }
    void Raise() {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
    }
    bool raised() const {
        const std::lock_guard lock(mutex_);
        return stopped_;
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stopped_ = false;
};

} // namespace xk
