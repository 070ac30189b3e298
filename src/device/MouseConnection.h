#pragma once

#include "device/FeatureReports.h"
#include "device/HidTransport.h"
#include "device/ReportSender.h"

#include <atomic>
#include <chrono>
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

    // Scans interface indexes 0..99 and opens the read handle on the node with the collection
    // of usage page 0xFF00, usage 1, and the write handle on the node with 0xFF01, 1 (one node
    // may hold both); stops as soon as this scan has opened both (a failed open counts). A handle
    // keeps its value until a scan opens its interface again. Returns the connected flag: whether
    // the last interface examined was the mouse's.
    bool FindMouse();
    bool connected() const { return connected_.load(); }
    std::string DevicePath() const;

    // Called when the stored device is removed: the exit procedure. Interface thread.
    void SetRemovalHandler(std::function<void()> onRemoval);
    // Arrival of the stored path rescans while not connected; its removal, or the loss of the
    // read handle's interface, clears the connected flag and calls the removal handler. Paths
    // compare without regard to case; other paths are ignored.
    void HandleDeviceChange(const DeviceChange& change);
    // Reads the transport's pending notifications and handles each.
    void ProcessDeviceChanges();
    // Readable when ProcessDeviceChanges has work (-1 without notifications).
    int NotificationFd() const;

    // FeatureReportSink: sends through the write handle while it is open, at the write
    // collection's feature report length (its longest), zero-padded after the report's bytes,
    // on the sender's thread (ReportSender).
    SendOutcome SendFeatureReport(std::span<const uint8_t, kReportBufferSize> buffer,
                                  SendBudget& budget) override;
    // Runs first on the sender's thread; set before the first send.
    void SetSenderStartHook(std::function<void()> hook);

    // The read handle as the listener uses it.
    struct ReadHandle {
        std::shared_ptr<HidDevice> device;
        uint64_t generation = 0;
        size_t inputReportLength = 0;
    };
    // Waits until a read handle is open, or until `stop` is set (then the device is empty).
    ReadHandle WaitForReadHandle(const std::atomic<bool>& stop);
    // The pause before a failed read is tried again; it ends early when a scan opens a new
    // read handle (another generation) or `stop` is set.
    void PauseAfterFailedRead(uint64_t generation, std::chrono::steady_clock::duration pause,
                              const std::atomic<bool>& stop);
    // Wakes the waiters of WaitForReadHandle and PauseAfterFailedRead so they look at their
    // stop flag.
    void WakeReadWaiters();

    // Closes both handles, for the exit procedure: nothing is sent or read through them after
    // it. A blocked read ends, and so does a send where the transport can end it.
    void CloseHandles();

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
        std::string path;
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

    // Last: destroyed first, it waits for a send still in the device.
    ReportSender sender_;
};

} // namespace xk
