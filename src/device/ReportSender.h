#pragma once

#include "device/HidTransport.h"
#include "device/SendBudget.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

namespace xk {

// Sends feature reports on a thread of its own, one at a time, so that whoever sends waits no
// longer than its budget allows: a device send cannot be timed out (hidraw's ioctl waits for the
// mouse as long as the kernel lets it). A send given up on stays in the device until it returns;
// meanwhile the mouse does not answer, and every later send gives up at once.
class ReportSender {
public:
    ReportSender() = default;
    // Waits for a send still in the device.
    ~ReportSender();
    ReportSender(const ReportSender&) = delete;
    ReportSender& operator=(const ReportSender&) = delete;

    // Runs first on the thread (the platform's priority raise); set before the first send.
    void SetThreadStartHook(std::function<void()> hook) { onThreadStart_ = std::move(hook); }

    // Sends `report` through `device` and waits for it within `budget`, which it charges.
    SendOutcome Send(std::shared_ptr<HidDevice> device, std::span<const uint8_t> report,
                     SendBudget& budget);

private:
    struct Job {
        std::shared_ptr<HidDevice> device;
        std::vector<uint8_t> report;
        bool taken = false;     // the thread has it
        bool abandoned = false; // its sender gave up on it
        std::optional<SendOutcome> outcome;
    };

    void Run();

    std::function<void()> onThreadStart_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::shared_ptr<Job> job_; // the one report on its way, until the device returns
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace xk
