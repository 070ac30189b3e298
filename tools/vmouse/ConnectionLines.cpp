#include "ConnectionLines.h"

#include "platform/VirtualMouseProtocol.h"

#include <cstdio>
#include <optional>
#include <utility>

namespace xk {

ConnectionLines::ConnectionLines(VirtualMouse& mouse, InputSender sendInput)
    : mouse_(mouse), sendInput_(std::move(sendInput)) {}

void ConnectionLines::HandleLine(ConnectionState& connection, const std::string& line) {
    const auto words = vmouse::Words(line);
    if (connection.role == Role::Writer) {
        // Every feature line is answered, as the kernel answers a feature report.
        const auto bytes = !words.empty() && words[0] == "feature" && line.size() > 8
                               ? vmouse::ParseHexBytes(std::string_view(line).substr(8))
                               : std::nullopt;
        if (!bytes || bytes->empty()) {
            connection.out += "error not a feature report\n";
        } else if (mouse_.ReceiveFeature(connection.interfaceIndex, *bytes)) {
            connection.out += "ok\n";
        } else {
            connection.out += "error refused\n";
        }
        return;
    }
    if (connection.role != Role::New) {
        return; // readers, identifications and watchers have nothing to say
    }
    if (words.empty()) {
        connection.dead = true;
        return;
    }
    if (words[0] == "list") {
        connection.role = Role::Command;
        connection.out += "interfaces " + std::to_string(mouse_.InterfaceCount()) + "\n";
        connection.closeWhenSent = true;
    } else if (words[0] == "open" && words.size() == 3) {
        const auto index = vmouse::ParseNumber(words[1], 0, mouse_.InterfaceCount() - 1);
        const bool read = words[2] == "read";
        const bool write = words[2] == "write";
        if (!index || (!read && !write && words[2] != "identify")) {
            connection.out += "error bad open\n";
            connection.closeWhenSent = true;
            return;
        }
        connection.interfaceIndex = *index;
        connection.role = read ? Role::Reader : write ? Role::Writer : Role::Identify;
        char ids[16];
        const HidAttributes attributes = VirtualMouse::Attributes();
        std::snprintf(ids, sizeof ids, "%04x %04x", attributes.vendorId, attributes.productId);
        connection.out +=
            std::string("ok ") + ids + " " + vmouse::HexBytes(mouse_.Descriptor(*index)) + "\n";
    } else if (words[0] == "watch") {
        connection.role = Role::Watch;
    } else {
        connection.role = Role::Command;
        connection.out += Command(words);
        connection.closeWhenSent = true;
    }
}

std::string ConnectionLines::Command(const std::vector<std::string_view>& words) {
    if (more_) {
        if (auto answer = more_(words)) {
            return *answer;
        }
    }
    const std::string_view name = words[0];
    const auto argument = [&](int low, int high) -> std::optional<int> {
        return words.size() == 2 ? vmouse::ParseNumber(words[1], low, high) : std::nullopt;
    };
    if (name == "press" || name == "release") {
        const auto button = argument(1, 9);
        if (!button) {
            return "error " + std::string(name) + " takes a button number 1..9\n";
        }
        sendInput_(name == "press" ? mouse_.Press(*button) : mouse_.Release(*button));
        return {};
    }
    if (name == "dpi") {
        const auto level = argument(0, 255);
        if (!level) {
            return "error dpi takes a level 0..255\n";
        }
        const auto report = mouse_.SwitchDpi(static_cast<uint8_t>(*level));
        if (!report) {
            return "error no button holds a DPI function\n";
        }
        sendInput_(*report);
        return {};
    }
    if (name == "rate" && words.size() == 1) {
        const auto report = mouse_.StepReportRate();
        if (!report) {
            return "error no button holds the report-rate function\n";
        }
        sendInput_(*report);
        return {};
    }
    if (name == "state" && words.size() == 1) {
        return mouse_.StateText();
    }
    if (name == "log" && words.size() == 1) {
        std::string out;
        for (const auto& entry : mouse_.log()) {
            out += VirtualMouse::LogLine(entry);
        }
        return out;
    }
    if (name == "unplug" && words.size() == 1) {
        unplugged_ = true;
        return {};
    }
    return "error unknown command: " + std::string(name) + "\n";
}

} // namespace xk
