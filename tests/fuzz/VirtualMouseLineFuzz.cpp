// Arbitrary lines of the virtual mouse's protocol: the program's parsers of its answers, and
// the virtual mouse's own handling of the lines of a few connections. Every answer is whole
// lines, the program reads what the mouse says of itself as the mouse describes it, and hex
// text read and written again is the same.
#include "FuzzCheck.h"
#include "FuzzInput.h"

#include "ConnectionLines.h"
#include "device/ReportDescriptor.h"
#include "device/VirtualMouse.h"
#include "platform/VirtualMouseProtocol.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace xk;
using fuzz::Check;

// What the program makes of one line the mouse could send.
void CheckClientParsers(std::string_view line) {
    for (const std::string_view word : vmouse::Words(line)) {
        Check(!word.empty() && word.find(' ') == std::string_view::npos);
    }
    if (const auto bytes = vmouse::ParseHexBytes(line)) {
        Check(vmouse::ParseHexBytes(vmouse::HexBytes(*bytes)) == bytes);
    }
    if (const auto reply = vmouse::ParseOpenReply(line)) {
        ParseReportDescriptor(reply->descriptor);
    }
    if (const auto report = vmouse::ParseInputLine(line)) {
        Check(!report->empty());
    }
    if (const auto number = vmouse::ParseNumber(line, -5, 300)) {
        Check(*number >= -5 && *number <= 300);
    }
    const std::string socket = "/run/xk.sock";
    if (const auto index = vmouse::InterfaceIndexOf(socket, std::string(line))) {
        Check(*index >= 0 && *index <= 255);
        Check(vmouse::InterfaceIndexOf(socket, vmouse::InterfacePath(socket, *index)) == index);
    }
}

// Each answer line of the mouse as the program reads it.
void CheckAnswers(const VirtualMouse& mouse, const ConnectionState& connection) {
    Check(connection.out.empty() || connection.out.back() == '\n');
    size_t start = 0;
    while (start < connection.out.size()) {
        const size_t end = connection.out.find('\n', start);
        const std::string_view line(connection.out.data() + start, end - start);
        if (line.rfind("ok ", 0) == 0) {
            const auto reply = vmouse::ParseOpenReply(line);
            Check(reply.has_value());
            Check(reply->attributes.vendorId == VirtualMouse::Attributes().vendorId);
            const auto described = mouse.Descriptor(connection.interfaceIndex);
            Check(reply->descriptor == std::vector<uint8_t>(described.begin(), described.end()));
        }
        start = end + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput in(data, size);
    const auto nodes =
        (in.Byte() & 1) != 0 ? VirtualMouse::Nodes::OneNode : VirtualMouse::Nodes::Separate;
    int64_t now = 0;
    VirtualMouse mouse([&now] { return ++now; }, nodes);
    std::vector<std::vector<uint8_t>> sent;
    ConnectionLines lines(mouse,
                          [&sent](const std::vector<uint8_t>& report) { sent.push_back(report); });
    std::array<ConnectionState, 3> connections;

    // Each line: a byte choosing the connection, then the text up to a newline.
    while (in.Left() > 0 && !lines.unplugged()) {
        ConnectionState& connection = connections[in.Byte() % connections.size()];
        std::string line;
        while (in.Left() > 0) {
            const auto c = static_cast<char>(in.Byte());
            if (c == '\n') {
                break;
            }
            line += c;
        }
        CheckClientParsers(line);
        const Role before = connection.role;
        connection.out.clear();
        lines.HandleLine(connection, line);
        Check(before == Role::New || connection.role == before);
        if (connection.role == Role::Reader || connection.role == Role::Writer ||
            connection.role == Role::Identify) {
            Check(connection.interfaceIndex >= 0 &&
                  connection.interfaceIndex < mouse.InterfaceCount());
        }
        CheckAnswers(mouse, connection);
    }

    // Every input report the mouse sent reads back from its line.
    for (const auto& report : sent) {
        Check(vmouse::ParseInputLine("input " + vmouse::HexBytes(report)) == report);
    }
    const VirtualMouse::State& state = mouse.state();
    Check(state.refusedReports <= state.featureReports);
    return 0;
}
