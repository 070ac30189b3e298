#pragma once

#include "device/HidTransport.h"

#include <cstdint>
#include <optional>
#include <span>

namespace xk {

// Reads a HID report descriptor: the usage page and usage of its first top-level collection
// and the byte lengths of its largest input and feature reports (+1 for the report id, 0 when
// it has none of that kind). Nothing when the descriptor is malformed or has no collection.
std::optional<HidCaps> ParseReportDescriptor(std::span<const uint8_t> descriptor);

} // namespace xk
