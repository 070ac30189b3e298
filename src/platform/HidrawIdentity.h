#pragma once

#include "device/HidTransport.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace xk {

// What sysfs tells of a hidraw node without opening it: the vendor and product of its HID
// device and the report descriptor.
struct HidrawIdentity {
    HidAttributes attributes;
    std::vector<uint8_t> descriptor;
};

// Vendor and product from the HID_ID line ("bus:vendor:product", hexadecimal) of a HID
// device's uevent text; nothing when the line is missing or malformed.
std::optional<HidAttributes> ParseHidId(std::string_view uevent);

// The identity under a hidraw node's sysfs folder (its device/uevent and
// device/report_descriptor); nothing when either cannot be read or makes no sense.
std::optional<HidrawIdentity> ReadHidrawIdentity(const std::filesystem::path& syspath);

} // namespace xk
