#include "ctl/MouseDiagnosis.h"

#include "device/MouseProtocol.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <system_error>

namespace xk::ctl {

namespace {

// "HID_ID=0003:000018F8:00001286": bus, vendor and product in hex.
bool IsMouseUevent(const std::filesystem::path& uevent) {
    std::ifstream in(uevent);
    std::string line;
    while (std::getline(in, line)) {
        unsigned bus = 0;
        unsigned vendor = 0;
        unsigned product = 0;
        if (line.starts_with("HID_ID=") &&
            std::sscanf(line.c_str() + 7, "%x:%x:%x", &bus, &vendor, &product) == 3) {
            return vendor == kMouseVendorId && product == kMouseProductId;
        }
    }
    return false;
}

constexpr const char* kRuleName = "70-xk-r40.rules";

// The rule's one line, "" when the file cannot be read or has none.
std::string RuleLine(const std::filesystem::path& rule) {
    std::ifstream in(rule);
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with("KERNEL==")) {
            return line;
        }
    }
    return {};
}

} // namespace

std::string WhyNoHidrawMouse(const std::filesystem::path& hidrawClass,
                             const std::filesystem::path& devDir,
                             const std::function<bool(const std::filesystem::path&)>& canOpen,
                             const std::string& ruleAdvice) {
    std::set<std::string> nodes; // sorted, so the message names them in order
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(hidrawClass, error)) {
        if (IsMouseUevent(entry.path() / "device" / "uevent")) {
            nodes.insert(entry.path().filename().string());
        }
    }
    if (nodes.empty()) {
        return "no XK-R40 is plugged in (no hidraw device with vendor 18F8, product 1286)";
    }
    std::string closed;
    for (const std::string& node : nodes) {
        if (!canOpen(devDir / node)) {
            closed += (closed.empty() ? "" : ", ") + (devDir / node).string();
        }
    }
    if (closed.empty()) {
        return "the XK-R40 is plugged in, but its vendor interfaces could not be opened";
    }
    return "the XK-R40 is plugged in, but you may not open " + closed + "; " + ruleAdvice;
}

std::string UdevRuleAdvice(const std::filesystem::path& deliveredRule,
                           const std::vector<std::filesystem::path>& installedRules) {
    std::error_code error;
    for (const std::filesystem::path& rule : installedRules) {
        if (std::filesystem::exists(rule, error)) {
            return "the udev rule " + rule.string() +
                   " gives them to the user of the seat's active session: unplug the mouse and "
                   "plug it in again (after `sudo udevadm control --reload-rules` when the rule "
                   "is new), at the seat";
        }
    }
    const std::string line = RuleLine(deliveredRule);
    if (line.empty()) {
        return std::string("the udev rule ") + kRuleName +
               ", which gives them to the seat's user, is not installed (it comes with xk-r40, "
               "in " +
               deliveredRule.parent_path().string() + ")";
    }
    // Written as root from its text, never copied out of a folder the user can change.
    return "install the udev rule that gives them to the seat's user (" + deliveredRule.string() +
           "), then replug the mouse: echo '" + line + "' | sudo tee /etc/udev/rules.d/" +
           kRuleName + " >/dev/null && sudo udevadm control --reload-rules";
}

std::vector<std::filesystem::path> SystemUdevRules() {
    return {std::filesystem::path("/etc/udev/rules.d") / kRuleName,
            std::filesystem::path("/usr/lib/udev/rules.d") / kRuleName,
            std::filesystem::path("/lib/udev/rules.d") / kRuleName};
}

std::string WhyNoVirtualMouse(const std::string& socket) {
    return "no virtual mouse answers at " + socket + " (start it with: xk-r40-vmouse --socket " +
           socket + " serve)";
}

std::string WhyNoMouse(const std::optional<std::string>& virtualMouseSocket,
                       const std::filesystem::path& deliveredRule) {
    if (virtualMouseSocket) {
        return WhyNoVirtualMouse(*virtualMouseSocket);
    }
    return WhyNoHidrawMouse(
        "/sys/class/hidraw", "/dev",
        [](const std::filesystem::path& node) { return ::access(node.c_str(), R_OK | W_OK) == 0; },
        UdevRuleAdvice(deliveredRule, SystemUdevRules()));
}

} // namespace xk::ctl
