#pragma once

#include "device/HidTransport.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace xk {

// The text lines spoken over the virtual mouse's socket. The first line of a connection says
// what it is:
//   list                        -> "interfaces N", then the server closes
//   open INDEX identify|read|write
//                               -> "ok VVVV PPPP DESCRIPTOR-HEX" or "error TEXT"; then the
//                                  client sends "feature HEX" lines (write handles), each
//                                  answered "ok" or "error TEXT" (refused), and the server
//                                  sends "input HEX" lines (read handles)
//   watch                       -> nothing; the server closes it when the mouse goes away
//   press N | release N | dpi LEVEL | rate | unplug | state | log
//                               -> the command's output ("error TEXT" on failure), then close
namespace vmouse {

// "06 f1 01" style: two lowercase hex digits a byte, separated by single spaces.
std::string HexBytes(std::span<const uint8_t> bytes);
// The bytes of whitespace-separated hex pairs; nothing when a token is not one byte of hex.
std::optional<std::vector<uint8_t>> ParseHexBytes(std::string_view text);
// Four hex digits.
std::optional<uint16_t> ParseHex16(std::string_view text);
// The line's words split on single spaces.
std::vector<std::string_view> Words(std::string_view line);
// A decimal number that fits in [low, high]; nothing otherwise.
std::optional<int> ParseNumber(std::string_view text, int low, int high);

// What an "open" is answered: the interface's ids and its report descriptor.
struct OpenReply {
    HidAttributes attributes;
    std::vector<uint8_t> descriptor;
};
// "ok VVVV PPPP DESCRIPTOR-HEX"; nothing for an error or a malformed answer.
std::optional<OpenReply> ParseOpenReply(std::string_view line);
// The report of an "input HEX" line; nothing for any other line or an empty report.
std::optional<std::vector<uint8_t>> ParseInputLine(std::string_view line);

// Interface paths of the socket transport: "vmouse:" + socket + "#" + index.
std::string InterfacePath(const std::string& socketPath, int index);
std::optional<int> InterfaceIndexOf(const std::string& socketPath, const std::string& path);

} // namespace vmouse

} // namespace xk
