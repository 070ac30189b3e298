#pragma once

#include "device/ExecutorFlags.h"
#include "device/MouseConnection.h"
#include "settings/Settings.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

namespace xk {

inline constexpr auto kReadRetryPause = std::chrono::milliseconds(2);
inline constexpr auto kLongestReadRetryPause = std::chrono::milliseconds(250);

// Reads input report 6 and turns it into an event for the executor or a stop request. It
// blocks on the read; without an open read handle it waits for the one FindMouse opens. A read
// that fails is tried again after kReadRetryPause, doubled after each further failure up to
// kLongestReadRetryPause (at once, and from the shortest pause, on a new handle).
class InputListener {
public:
    InputListener(const Settings& settings, MouseConnection& connection, ExecutorFlags& flags);
    ~InputListener();
    InputListener(const InputListener&) = delete;
    InputListener& operator=(const InputListener&) = delete;

    // Runs first on the thread (for example to raise its priority); set before Start.
    void SetThreadStartHook(std::function<void()> hook) { onThreadStart_ = std::move(hook); }
    void Start();
    // Ends a blocked read and joins the thread. Safe to call twice.
    void Stop();

    // One report as the thread handles it (report id first).
    void HandleReport(std::span<const uint8_t> report);

private:
    void Run();

    const Settings& settings_;
    MouseConnection& connection_;
    ExecutorFlags& flags_;
    std::function<void()> onThreadStart_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::mutex deviceMutex_;
    std::shared_ptr<HidDevice> reading_;
};

} // namespace xk
