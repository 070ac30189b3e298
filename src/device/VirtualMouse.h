#pragma once

#include "device/HidTransport.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace xk {

// The firmware of the virtual mouse: its HID interfaces, the state that feature report 7
// sets, the input reports 6 it sends, and the log of both. Not thread-safe: its owners
// serialise access.
class VirtualMouse {
public:
    // How the two vendor collections are presented: each on a node of its own (a boot mouse,
    // a keyboard, 0xFF00/1 and 0xFF01/1), or both on one node after the boot mouse and the
    // keyboard. That node also holds feature report 8, longer than report 7 and never used,
    // so that its largest feature report is not report 7.
    enum class Nodes { Separate, OneNode };

    // Interface indexes.
    static constexpr int kBootMouse = 0;
    static constexpr int kKeyboard = 1;
    static constexpr int kInputInterface = 2;   // 0xFF00/1 (both vendor collections: OneNode)
    static constexpr int kFeatureInterface = 3; // 0xFF01/1 (Separate only)
    static constexpr size_t kReportLength = 8;  // input 6 and feature 7, report id included

    struct State {
        std::array<uint8_t, 10> buttonCode{}; // by the mouse's button number 1..9
        uint8_t dpiLevel = 0;
        std::array<uint8_t, 4> dpiStep{};
        uint8_t dpiEnabled = 0;
        uint8_t wheel = 0;
        uint8_t ledBrightness = 0;
        uint8_t led = 0;
        uint16_t fireTime = 0; // as sent: the time / 8
        std::array<uint8_t, 6> keys{};
        uint8_t mouseButtons = 0xFF;
        uint16_t consumerUsage = 0;
        uint32_t consumerReports = 0;
        uint32_t exitReports = 0;
        uint8_t reportRate = 0;
        uint32_t featureReports = 0; // every one received, refused ones included
        uint32_t refusedReports = 0;
    };

    struct LogEntry {
        int64_t micros = 0;
        bool feature = false; // received by the mouse; otherwise an input report it sent
        std::vector<uint8_t> bytes;
    };

    // `nowMicros` gives the log's timestamps.
    explicit VirtualMouse(std::function<int64_t()> nowMicros, Nodes nodes = Nodes::Separate);

    static int InterfaceCount(Nodes nodes);
    // Empty for an index the layout does not have.
    static std::span<const uint8_t> Descriptor(Nodes nodes, int interfaceIndex);
    static HidAttributes Attributes() { return {0x18F8, 0x1286}; }

    Nodes nodes() const { return nodes_; }
    int InterfaceCount() const { return InterfaceCount(nodes_); }
    std::span<const uint8_t> Descriptor(int interfaceIndex) const {
        return Descriptor(nodes_, interfaceIndex);
    }
    // Whether the interface sends input report 6, and whether it takes feature report 7.
    bool SendsInput(int interfaceIndex) const;
    bool TakesFeatures(int interfaceIndex) const;

    // A feature report received on an interface, report id first; logged and counted. It is
    // refused (false, the state unchanged) on an interface without the vendor feature
    // collection, for a report id the collection does not declare, or when its length is not
    // the collection's feature report length (its longest, id byte counted).
    bool ReceiveFeature(int interfaceIndex, std::span<const uint8_t> report);

    // Input reports to send; each is logged. Button numbers are 1..9.
    std::vector<uint8_t> Press(int button);
    std::vector<uint8_t> Release(int button);
    // The DPI button reports the level it switched to; nothing when no button holds a DPI
    // function.
    std::optional<std::vector<uint8_t>> SwitchDpi(uint8_t level);
    // The report-rate button steps the rate and reports its press; nothing when no button
    // holds the report-rate function.
    std::optional<std::vector<uint8_t>> StepReportRate();

    const State& state() const { return state_; }
    const std::vector<LogEntry>& log() const { return log_; }

    // "name value" lines of the decoded state.
    std::string StateText() const;
    // One log line: "<micros> <feature|input> <hex bytes>" with a newline.
    static std::string LogLine(const LogEntry& entry);

private:
    std::vector<uint8_t> InputReport(int button, uint8_t data);
    std::optional<int> ButtonHolding(std::span<const uint8_t> deviceCodes) const;

    std::function<int64_t()> nowMicros_;
    Nodes nodes_;
    // The length each feature report id must arrive with, by interface (0: not taken).
    std::vector<std::array<uint16_t, 256>> featureLengths_;
    State state_;
    std::vector<LogEntry> log_;
};

} // namespace xk
