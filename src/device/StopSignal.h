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
        return SleepUntil(std::chrono::steady_clock::now() + duration);
    }
    // Sleeps until `deadline` on the steady clock; false when the signal was raised.
    bool SleepUntil(std::chrono::steady_clock::time_point deadline) const {
        std::unique_lock lock(mutex_);
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
