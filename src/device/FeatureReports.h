#pragma once

#include "device/MouseProtocol.h"
#include "device/SendBudget.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <span>
#include <thread>
#include <utility>

namespace xk {

// Where composed feature reports go: the open write handle, with the feature report length of
// its capabilities. A send without an open handle, or one the device refuses, is dropped; one
// the mouse does not answer within the budget is given up on.
class FeatureReportSink {
public:
    virtual ~FeatureReportSink() = default;
    virtual SendOutcome SendFeatureReport(std::span<const uint8_t, kReportBufferSize> buffer,
                                          SendBudget& budget) = 0;
};

// The one report buffer of feature report 7 and the held keys and buttons that the key
// commands carry. Every command writes only its own bytes, under one lock held until its
// send has returned, so the interface thread and the executor never mix their bytes. The
// interface thread's commands wait for the lock and the mouse within the budget they are given
// (noting there whether the mouse answered); each of the executor's within kExecutorSendWait.
class FeatureReports {
public:
    explicit FeatureReports(FeatureReportSink& sink);

    // The commands of the upload.
    void SendButtonFunction(size_t button, uint8_t deviceCode, SendBudget& budget);
    void SendWheelStatus(int32_t wheelStatus, SendBudget& budget);
    void SendDpiLevel(size_t level, int32_t dpiLevel, uint8_t stepCode, uint8_t enableBits,
                      SendBudget& budget);
    void SendLedMode(uint8_t ledCode, SendBudget& budget);
    void SendFireTime(int32_t fireTime, SendBudget& budget);

    // The executor's events (executor thread only, with ReleaseAll).
    void SendKeyEvent(uint8_t keyCode, uint8_t action);
    // 10 ms, all three buttons released, 10 ms, all six keys released.
    void ReleaseAll();
    // Function codes 21..30; any other code sends nothing.
    void SendConsumerKey(int32_t functionCode);

    // Everything a macro or a media key could have left held in the mouse (by a program that
    // was killed while playing): ReleaseAll, then no consumer key.
    void ReleaseHeld(SendBudget& budget);

    void SendExitReport(SendBudget& budget);

    // Copies for tests and diagnostics.
    std::array<uint8_t, kReportBufferSize> Buffer() const;
    std::array<uint8_t, 6> PressedKeys() const;
    uint8_t MouseButtonState() const;

private:
    using Bytes = std::initializer_list<std::pair<size_t, uint8_t>>;
    // The buffer's lock, held by one thread at a time (again by the same thread: a send that
    // keeps the window painted while it waits must not deadlock when the process ends from
    // there, the X server gone, and the exit report follows).
    class Lock {
    public:
        Lock(const FeatureReports& owner, bool owned) : owner_(owner), owned_(owned) {}
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
        bool owns_lock() const { return owned_; }

    private:
        const FeatureReports& owner_;
        bool owned_;
    };
    // Taken within the budget; not owned when it ran out (noted as no answer).
    Lock LockWithin(SendBudget& budget);
    // Taken however long it takes.
    Lock LockAlways() const;
    void Send(Command command, Bytes bytes, SendBudget& budget);
    // With mutex_ held.
    void SendLocked(Command command, Bytes bytes, SendBudget& budget);
    void SendButtonsLocked(SendBudget& budget);
    void SendKeysLocked(SendBudget& budget);
    void ReleaseAll(SendBudget& budget);

    FeatureReportSink& sink_;
    mutable std::mutex mutex_;
    mutable std::condition_variable released_;
    mutable std::thread::id holder_;
    mutable int depth_ = 0;
    std::array<uint8_t, kReportBufferSize> buffer_{};
    std::array<uint8_t, 6> pressedKeys_{};
    uint8_t mouseButtonState_ = 0xFF;
};

} // namespace xk
