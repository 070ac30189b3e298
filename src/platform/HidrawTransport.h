#pragma once

#include "device/HidTransport.h"

#include <memory>

namespace xk {

// HID interfaces through the kernel's hidraw nodes: libudev enumerates the hidraw subsystem
// in a stable order, HIDIOCGRAWINFO gives vendor and product, the report descriptor gives the
// capabilities, HIDIOCSFEATURE sends and read() receives. A udev monitor on hidraw reports
// arrival and removal with the device node path.
class HidrawTransport final : public HidTransport {
public:
    HidrawTransport();
    ~HidrawTransport() override;
    HidrawTransport(const HidrawTransport&) = delete;
    HidrawTransport& operator=(const HidrawTransport&) = delete;

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
