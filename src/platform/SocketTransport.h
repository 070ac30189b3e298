#pragma once

#include "device/HidTransport.h"

#include <memory>
#include <string>

namespace xk {

// The virtual mouse's HID interfaces over its Unix socket. Connecting to the socket is the
// mouse's arrival; the socket closing is its removal (every interface path reported removed).
class SocketTransport final : public HidTransport {
public:
    explicit SocketTransport(std::string socketPath);
    ~SocketTransport() override;
    SocketTransport(const SocketTransport&) = delete;
    SocketTransport& operator=(const SocketTransport&) = delete;

    std::unique_ptr<HidInterfaceList> ListInterfaces() override;
    std::unique_ptr<HidDevice> Open(const std::string& path, HidAccess access) override;
    void RegisterNotifications() override;
    int NotificationFd() const override;
    std::vector<DeviceChange> ReadNotifications() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace xk
