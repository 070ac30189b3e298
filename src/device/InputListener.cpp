#include "device/InputListener.h"

#include "device/MouseProtocol.h"

#include <algorithm>
#include <array>

namespace xk {

InputListener::InputListener(const Settings& settings, MouseConnection& connection,
                             ExecutorFlags& flags)
    : settings_(settings), connection_(connection), flags_(flags) {}

InputListener::~InputListener() {
    Stop();
}

void InputListener::Start() {
    if (thread_.joinable()) {
        return;
    }
    stopping_.store(false);
    thread_ = std::thread([this] { Run(); });
}

void InputListener::Stop() {
    {
        const std::lock_guard lock(deviceMutex_);
        stopping_.store(true);
        if (reading_) {
            reading_->Interrupt();
        }
    }
    connection_.WakeReadWaiters();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void InputListener::Run() {
    if (onThreadStart_) {
        onThreadStart_();
    }
    std::array<uint8_t, kReportBufferSize> buffer{};
    std::chrono::steady_clock::duration pause = kReadRetryPause;
    uint64_t generation = 0;
    while (!stopping_.load()) {
        const MouseConnection::ReadHandle handle = connection_.WaitForReadHandle(stopping_);
        if (handle.generation != generation) {
            generation = handle.generation;
            pause = kReadRetryPause;
        }
        {
            const std::lock_guard lock(deviceMutex_);
            if (stopping_.load() || !handle.device) {
                break;
            }
            reading_ = handle.device;
        }
        buffer.fill(0);
        const auto length =
            handle.device->ReadReport(std::span(buffer).first(handle.inputReportLength));
        {
            const std::lock_guard lock(deviceMutex_);
            reading_.reset();
        }
        if (!length) {
            // No report: try again after a pause, or at once on a handle a rescan opened.
            connection_.PauseAfterFailedRead(handle.generation, pause, stopping_);
            pause =
                std::min<std::chrono::steady_clock::duration>(pause * 2, kLongestReadRetryPause);
            continue;
        }
        pause = kReadRetryPause;
        HandleReport(std::span(buffer).first(handle.inputReportLength));
    }
}

void InputListener::HandleReport(std::span<const uint8_t> report) {
    if (report.size() < 1 || report[0] != kInputReportId) {
        return;
    }
    const uint8_t code = report.size() > 1 ? report[1] : 0;
    const uint8_t data = report.size() > 2 ? report[2] : 0;
    bool notify = false;
    {
        const std::lock_guard lock(flags_.mutex);
        const bool pending = flags_.eventPending.load();
        if (code <= kButtonEventBase) {
            if (pending) {
                flags_.stopRequested.store(true);
            }
        } else if (data != kReleaseData) {
            if (!pending) {
                flags_.eventCode.store(code);
                flags_.eventData.store(data);
                flags_.eventPending.store(true);
                notify = true;
            } else if (settings_.macroMode.load() == 0) {
                flags_.stopRequested.store(true);
            }
        } else if (settings_.macroMode.load() != 0 && pending) {
            // A stop request while nothing is pending would be cleared before any event.
            flags_.stopRequested.store(true);
        }
    }
    if (notify) {
        flags_.eventTaken.notify_all();
    }
}

} // namespace xk
