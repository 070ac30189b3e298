#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace xk {

struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
};

// What the report descriptor of one interface says: its top-level collection and the byte
// lengths of its largest input and feature reports, each counting the report id byte.
struct HidCaps {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportLength = 0;
    uint16_t featureReportLength = 0;

    bool operator==(const HidCaps&) const = default;
};

enum class HidAccess {
    Identify, // no access rights: attributes and capabilities only
    Read,
    Write,
};

// One open HID interface. Closing is destruction.
class HidDevice {
public:
    virtual ~HidDevice() = default;

    virtual std::optional<HidAttributes> Attributes() = 0;
    virtual std::optional<HidCaps> Capabilities() = 0;
    // Sends one feature report, report id first; false when the device refuses it.
    virtual bool SetFeature(std::span<const uint8_t> report) = 0;
    // Blocks until one input report arrives and returns its length (report id first, cut to
    // the buffer). Nothing when the read fails, the device is gone or after Interrupt().
    virtual std::optional<size_t> ReadReport(std::span<uint8_t> buffer) = 0;
    // Ends a blocked ReadReport from another thread; every later read fails at once.
    virtual void Interrupt() = 0;
};

// A snapshot of the present HID interfaces, released on destruction.
class HidInterfaceList {
public:
    virtual ~HidInterfaceList() = default;
    // The path of the interface at `index`; nothing when the enumeration fails there.
    virtual std::optional<std::string> PathAt(int index) = 0;
};

struct DeviceChange {
    enum class Kind { Arrival, Removal };
    Kind kind = Kind::Arrival;
    std::string path;

    bool operator==(const DeviceChange&) const = default;
};

// Access to the HID interfaces of the machine (hidraw, the virtual mouse's socket, or an
// in-process model in tests).
class HidTransport {
public:
    virtual ~HidTransport() = default;

    virtual std::unique_ptr<HidInterfaceList> ListInterfaces() = 0;
    // Nothing when the open fails.
    virtual std::unique_ptr<HidDevice> Open(const std::string& path, HidAccess access) = 0;

    // Starts the arrival and removal notifications; calling it again changes nothing.
    virtual void RegisterNotifications() = 0;
    // A descriptor that becomes readable when notifications may be pending (-1 when the
    // transport has none); it stays valid for the transport's life. Watch it on the
    // interface thread and call ReadNotifications when it is readable.
    virtual int NotificationFd() const = 0;
    // The changes that have arrived, without blocking.
    virtual std::vector<DeviceChange> ReadNotifications() = 0;
};

} // namespace xk
