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

// One report of a collection: its id (0 when the descriptor numbers no reports) and its input
// and feature byte lengths, each counting the id byte (0 when the report has no such part).
struct HidReportLengths {
    uint8_t id = 0;
    uint16_t input = 0;
    uint16_t feature = 0;

    bool operator==(const HidReportLengths&) const = default;
};

// What the report descriptor says of one top-level collection: its usage page and usage, the
// byte lengths of its largest input and feature reports (id byte counted) and the lengths of
// each of its reports, by ascending id.
struct HidCaps {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportLength = 0;
    uint16_t featureReportLength = 0;
    std::vector<HidReportLengths> reports;

    // The feature length of report `id`, id byte counted; 0 when the collection has none.
    uint16_t FeatureLengthOf(uint8_t id) const {
        for (const HidReportLengths& report : reports) {
            if (report.id == id) {
                return report.feature;
            }
        }
        return 0;
    }

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
    // One entry per top-level collection of the interface, in descriptor order; empty when
    // the descriptor cannot be had or read. A node may hold several collections.
    virtual std::vector<HidCaps> Capabilities() = 0;
    // Sends one feature report, report id first, and waits for the device to take it (as long
    // as the device lets it); false when the device refuses it or does not answer.
    virtual bool SetFeature(std::span<const uint8_t> report) = 0;
    // Blocks until one input report arrives and returns its length (report id first, cut to
    // the buffer). Nothing when the read fails, the device is gone or after Interrupt().
    virtual std::optional<size_t> ReadReport(std::span<uint8_t> buffer) = 0;
    // Ends a blocked ReadReport (and a SetFeature waiting for its answer, where the device can
    // end it) from another thread; every later read and such wait fails at once.
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
    // Lost: a read through an open handle found the interface gone (hang-up, no device).
    enum class Kind { Arrival, Removal, Lost };
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
