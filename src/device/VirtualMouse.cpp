#include "device/VirtualMouse.h"

#include "device/MouseProtocol.h"
#include "device/ReportDescriptor.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace xk {

namespace {

// A boot mouse: five buttons, X, Y and wheel.
constexpr uint8_t kBootMouseDescriptor[] = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
    0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x03, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09,
    0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0};

// A boot keyboard: modifiers, a reserved byte, six keys, five LEDs.
constexpr uint8_t kKeyboardDescriptor[] = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};

// Vendor page 0xFF00, usage 1: input report 6 of seven bytes.
constexpr uint8_t kInputDescriptor[] = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85,
                                        0x06, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
                                        0x75, 0x08, 0x95, 0x07, 0x81, 0x02, 0xC0};

// Vendor page 0xFF01, usage 1: feature report 7 of seven bytes.
constexpr uint8_t kFeatureDescriptor[] = {0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85,
                                          0x07, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
                                          0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0xC0};

// Both vendor collections on one node: input report 6 of seven bytes on 0xFF00/1; feature
// report 7 of seven bytes and feature report 8 of 31 bytes on 0xFF01/1.
constexpr uint8_t kVendorNodeDescriptor[] = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06, 0x09, 0x01, 0x15, 0x00, 0x26,
    0xFF, 0x00, 0x75, 0x08, 0x95, 0x07, 0x81, 0x02, 0xC0, 0x06, 0x01, 0xFF, 0x09, 0x01,
    0xA1, 0x01, 0x85, 0x07, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95,
    0x07, 0xB1, 0x02, 0x85, 0x08, 0x09, 0x02, 0x95, 0x1F, 0xB1, 0x02, 0xC0};

// Device codes the mouse carries out itself.
constexpr uint8_t kDpiCodes[] = {6, 11, 12};
constexpr uint8_t kReportRateCode = 10;

constexpr uint8_t kPressData = 0x01;

std::string Hex(uint8_t byte) {
    char text[3];
    std::snprintf(text, sizeof text, "%02x", byte);
    return text;
}

} // namespace

VirtualMouse::VirtualMouse(std::function<int64_t()> nowMicros, Nodes nodes)
    : nowMicros_(std::move(nowMicros)), nodes_(nodes) {
    // The factory functions: every button does what its number says.
    for (const uint8_t number : kDeviceButtonNumber) {
        state_.buttonCode[number] = number <= 5 ? number : 0;
    }
    for (int index = 0; index < InterfaceCount(); ++index) {
        std::array<uint16_t, 256>& lengths = featureLengths_.emplace_back();
        lengths.fill(0);
        for (const HidCaps& caps : ParseReportDescriptor(Descriptor(index))) {
            if (caps.usagePage != kFeatureUsagePage || caps.usage != kVendorUsage) {
                continue;
            }
            // The host sends every feature report at the collection's longest length.
            for (const HidReportLengths& report : caps.reports) {
                if (report.feature != 0) {
                    lengths[report.id] = caps.featureReportLength;
                }
            }
        }
    }
}

int VirtualMouse::InterfaceCount(Nodes nodes) {
    return nodes == Nodes::Separate ? 4 : 3;
}

std::span<const uint8_t> VirtualMouse::Descriptor(Nodes nodes, int interfaceIndex) {
    switch (interfaceIndex) {
    case kBootMouse:
        return kBootMouseDescriptor;
    case kKeyboard:
        return kKeyboardDescriptor;
    case kInputInterface:
        if (nodes == Nodes::OneNode) {
            return kVendorNodeDescriptor;
        }
        return kInputDescriptor;
    case kFeatureInterface:
        if (nodes == Nodes::OneNode) {
            return {};
        }
        return kFeatureDescriptor;
    default:
        return {};
    }
}

bool VirtualMouse::SendsInput(int interfaceIndex) const {
    return interfaceIndex == kInputInterface;
}

bool VirtualMouse::TakesFeatures(int interfaceIndex) const {
    return interfaceIndex == (nodes_ == Nodes::OneNode ? kInputInterface : kFeatureInterface);
}

bool VirtualMouse::ReceiveFeature(int interfaceIndex, std::span<const uint8_t> report) {
    log_.push_back({nowMicros_(), true, {report.begin(), report.end()}});
    ++state_.featureReports;
    const bool rightLength =
        !report.empty() && interfaceIndex >= 0 &&
        static_cast<size_t>(interfaceIndex) < featureLengths_.size() &&
        featureLengths_[static_cast<size_t>(interfaceIndex)][report[0]] == report.size();
    if (!TakesFeatures(interfaceIndex) || !rightLength) {
        ++state_.refusedReports;
        return false;
    }
    std::array<uint8_t, kReportLength> b{};
    std::copy_n(report.begin(), std::min(report.size(), b.size()), b.begin());
    if (b[0] != kFeatureReportId) {
        return true;
    }
    switch (static_cast<Command>(b[1])) {
    case Command::DpiLevel: {
        state_.dpiLevel = static_cast<uint8_t>(b[2] - 0x40);
        const int level = (b[3] & 0x0F) - 8;
        if (level >= 0 && level < 4) {
            state_.dpiStep[static_cast<size_t>(level)] = static_cast<uint8_t>(b[3] >> 4);
        }
        state_.dpiEnabled = b[4];
        break;
    }
    case Command::ButtonFunction:
        if (b[2] >= 1 && b[2] <= 9) {
            state_.buttonCode[b[2]] = b[3];
        }
        break;
    case Command::WheelStatus:
        state_.wheel = b[2];
        break;
    case Command::FireTime:
        state_.fireTime = static_cast<uint16_t>(b[2] << 8 | b[3]);
        break;
    case Command::LedMode:
        state_.ledBrightness = b[2];
        state_.led = static_cast<uint8_t>(b[3] - 0x10);
        break;
    case Command::KeyboardKeys:
        std::copy_n(b.begin() + 2, state_.keys.size(), state_.keys.begin());
        break;
    case Command::MouseButtons:
        state_.mouseButtons = b[3];
        break;
    case Command::ConsumerKey:
        state_.consumerUsage = static_cast<uint16_t>(b[2] << 8 | b[3]);
        ++state_.consumerReports;
        break;
    case Command::Exit:
        ++state_.exitReports;
        break;
    }
    return true;
}

std::vector<uint8_t> VirtualMouse::InputReport(int button, uint8_t data) {
    std::vector<uint8_t> report(kReportLength, 0);
    report[0] = kInputReportId;
    report[1] = static_cast<uint8_t>(kButtonEventBase + button);
    report[2] = data;
    log_.push_back({nowMicros_(), false, report});
    return report;
}

std::vector<uint8_t> VirtualMouse::Press(int button) {
    return InputReport(button, kPressData);
}

std::vector<uint8_t> VirtualMouse::Release(int button) {
    return InputReport(button, kReleaseData);
}

std::optional<int> VirtualMouse::ButtonHolding(std::span<const uint8_t> deviceCodes) const {
    for (int number = 1; number <= 9; ++number) {
        const uint8_t code = state_.buttonCode[static_cast<size_t>(number)];
        if (std::find(deviceCodes.begin(), deviceCodes.end(), code) != deviceCodes.end() &&
            std::find(kDeviceButtonNumber.begin(), kDeviceButtonNumber.end(), number) !=
                kDeviceButtonNumber.end()) {
            return number;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> VirtualMouse::SwitchDpi(uint8_t level) {
    const auto button = ButtonHolding(kDpiCodes);
    if (!button) {
        return std::nullopt;
    }
    state_.dpiLevel = level;
    return InputReport(*button, level);
}

std::optional<std::vector<uint8_t>> VirtualMouse::StepReportRate() {
    const uint8_t codes[] = {kReportRateCode};
    const auto button = ButtonHolding(codes);
    if (!button) {
        return std::nullopt;
    }
    state_.reportRate = static_cast<uint8_t>((state_.reportRate + 1) % 4);
    return InputReport(*button, kPressData);
}

std::string VirtualMouse::StateText() const {
    std::string out;
    const auto line = [&out](const std::string& name, const std::string& value) {
        out += name + " " + value + "\n";
    };
    const auto number = [](auto value) { return std::to_string(value); };
    for (const size_t button : {1u, 2u, 3u, 4u, 5u, 6u, 8u, 9u}) {
        line("button" + number(button), number(state_.buttonCode[button]));
    }
    line("dpi_level", number(state_.dpiLevel));
    for (size_t j = 0; j < state_.dpiStep.size(); ++j) {
        line("dpi_step" + number(j), number(state_.dpiStep[j]));
    }
    line("dpi_enabled", Hex(state_.dpiEnabled));
    line("wheel", number(state_.wheel));
    line("led", number(state_.led));
    line("led_brightness", Hex(state_.ledBrightness));
    line("fire_time", number(state_.fireTime));
    std::string keys;
    for (const uint8_t key : state_.keys) {
        keys += (keys.empty() ? "" : " ") + Hex(key);
    }
    line("keys", keys);
    line("mouse_buttons", Hex(state_.mouseButtons));
    line("consumer", Hex(static_cast<uint8_t>(state_.consumerUsage >> 8)) +
                         Hex(static_cast<uint8_t>(state_.consumerUsage & 0xFF)));
    line("consumer_reports", number(state_.consumerReports));
    line("exit_reports", number(state_.exitReports));
    line("report_rate", number(state_.reportRate));
    line("feature_reports", number(state_.featureReports));
    line("refused_reports", number(state_.refusedReports));
    return out;
}

std::string VirtualMouse::LogLine(const LogEntry& entry) {
    std::string out = std::to_string(entry.micros) + (entry.feature ? " feature" : " input");
    for (const uint8_t byte : entry.bytes) {
        out += " " + Hex(byte);
    }
    out += "\n";
    return out;
}

} // namespace xk
