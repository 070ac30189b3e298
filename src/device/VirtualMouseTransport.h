#pragma once

#include "device/HidTransport.h"
#include "device/VirtualMouse.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace xk {

// The virtual mouse in the same process: a HidTransport whose interfaces are the model's,
// for tests and for running the device link without a mouse or a socket. Thread-safe.
class VirtualMouseTransport final : public HidTransport {
public:
    explicit VirtualMouseTransport(VirtualMouse::Nodes nodes = VirtualMouse::Nodes::Separate);
    ~VirtualMouseTransport() override;

    std::unique_ptr<HidInterfaceList> ListInterfaces() override;
    std::unique_ptr<HidDevice> Open(const std::string& path, HidAccess access) override;
    void RegisterNotifications() override {}
    int NotificationFd() const override { return -1; }
    // Removal of every interface once unplugged.
    std::vector<DeviceChange> ReadNotifications() override;

    static std::string PathOf(int interfaceIndex);

    // The mouse's side; each input report goes to every open read handle of the input
    // interface.
    void Press(int button);
    void Release(int button);
    bool SwitchDpi(uint8_t level);
    bool StepReportRate();
    // Removal: every handle fails from now on and no interface is listed.
    void Unplug();

    VirtualMouse::State State() const;
    std::vector<VirtualMouse::LogEntry> Log() const;
    // Feature reports received so far (the log's feature entries' bytes).
    std::vector<std::vector<uint8_t>> Features() const;
    // Waits until at least `count` feature reports have arrived; false on timeout.
    bool WaitForFeatures(size_t count, std::chrono::milliseconds timeout) const;
    // Waits until a read handle of the input interface is blocked in a read; false on timeout.
    bool WaitForReader(std::chrono::milliseconds timeout) const;

private:
    class Device;
    friend class Device;
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

} // namespace xk
