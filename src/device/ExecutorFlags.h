#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace xk {

// The four values the input listener and the action executor share. The listener decides and
// sets them under `mutex` and notifies `eventTaken`; the executor waits on it and clears both
// flags under the same lock, so a stop request never outlives the event it was meant for.
struct ExecutorFlags {
    std::atomic<bool> eventPending{false};
    std::atomic<uint8_t> eventCode{0};
    std::atomic<uint8_t> eventData{0};
    std::atomic<bool> stopRequested{false};

    std::mutex mutex;
    std::condition_variable eventTaken;

    void Clear() {
        const std::lock_guard lock(mutex);
        eventPending.store(false);
        stopRequested.store(false);
    }
};

} // namespace xk
