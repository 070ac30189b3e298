#pragma once

#include "device/HidTransport.h"

#include <cstdint>
#include <span>
#include <vector>

namespace xk {

// Reads a HID report descriptor: each top-level collection with its usage page and usage and
// the byte lengths of its reports (+1 for the report id, 0 for a kind it has none of), the
// largest of each kind and every report by id. Empty when the descriptor is malformed or has
// no collection.
std::vector<HidCaps> ParseReportDescriptor(std::span<const uint8_t> descriptor);

} // namespace xk
