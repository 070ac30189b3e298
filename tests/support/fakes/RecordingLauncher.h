#pragma once

#include "device/Launcher.h"

#include <mutex>
#include <vector>

namespace xk::test {

// Remembers what it was asked to start. Thread-safe: the executor calls it.
class RecordingLauncher final : public Launcher {
public:
    void Launch(LaunchTarget target) override {
        const std::lock_guard lock(mutex_);
        launched_.push_back(target);
    }
    std::vector<LaunchTarget> launched() const {
        const std::lock_guard lock(mutex_);
        return launched_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<LaunchTarget> launched_;
};

} // namespace xk::test
