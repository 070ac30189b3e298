#pragma once

#include "device/FeatureReports.h"
#include "device/HidTransport.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace xk {

// The link to the mouse: finds its two vendor interfaces, keeps the read and write handles
// with their capabilities, and follows arrival and removal. FindMouse and the device-change
// handling run on the interface thread; the listener reads and the executor sends from
// theirs.
class MouseConnection final : public FeatureReportSink {
public:
    explicit MouseConnection(HidTransport& transport);
    ~MouseConnection() override;
    MouseConnection(const MouseConnection&) = delete;
    MouseConnection& operator=(const MouseConnection&) = delete;

    // Scans interface indexes 0..99 and opens the read handle (usage page 0xFF00, usage 1)
    // and the write handle (0xFF01, 1); stops as soon as this scan has opened both (a failed
    // open counts). A handle keeps its value until a scan opens its interface again. Returns
    // the connected flag: whether the last interface examined was the mouse's.
    bool FindMouse();
    bool connected() const { return connected_.load(); }
    std::string DevicePath() const;

    // Called when the stored device is removed: the exit procedure. Interface thread.
    void SetRemovalHandler(std::function<void()> onRemoval);
    // Arrival of the stored path rescans while not connected; its removal clears the
    // connected flag and calls the removal handler. Paths compare without regard to case;
    // other paths are ignored.
    void HandleDeviceChange(const DeviceChange& change);
    // Reads the transport's pending notifications and handles each.
    void ProcessDeviceChanges();
    // Readable when ProcessDeviceChanges has work (-1 without notifications).
    int NotificationFd() const;

    // FeatureReportSink: sends through the write handle while it is open.
    void SendFeatureReport(std::span<const uint8_t, kReportBufferSize> buffer) override;

    // The read handle as the listener uses it.
    struct ReadHandle {
        std::shared_ptr<HidDevice> device;
        uint64_t generation = 0;
        size_t inputReportLength = 0;
    };
    // Waits until an open read handle of another generation than `failedGeneration` is there,
    // or until `stop` is set (then the device is empty).
    ReadHandle WaitForReadHandle(uint64_t failedGeneration, const std::atomic<bool>& stop);
    // Wakes the waiters of WaitForReadHandle so they look at their stop flag.
    void WakeReadWaiters();

    HidCaps ReadCaps() const;
    HidCaps WriteCaps() const;
    // Whether each handle holds a value (open, or a failed open) and whether it is open.
    bool ReadHandleSet() const;
    bool WriteHandleSet() const;
    bool ReadHandleOpen() const;
    bool WriteHandleOpen() const;

private:
    struct Handle {
        bool set = false;
        std::shared_ptr<HidDevice> device; // empty after a failed open
        HidCaps caps;
    };

    HidTransport& transport_;
    std::atomic<bool> connected_{false};
    std::string devicePath_;
    std::function<void()> onRemoval_;

    mutable std::mutex mutex_;
    std::condition_variable readHandleChanged_;
    Handle read_;
    Handle write_;
    uint64_t readGeneration_ = 0;
};

} // namespace xk
