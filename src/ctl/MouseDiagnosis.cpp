#include "ctl/MouseDiagnosis.h"

#include "device/MouseProtocol.h"

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

} // namespace

std::string WhyNoHidrawMouse(const std::filesystem::path& hidrawClass,
                             const std::filesystem::path& devDir,
                             const std::function<bool(const std::filesystem::path&)>& canOpen) {
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
    return "the XK-R40 is plugged in, but you may not open " + closed +
           "; the udev rule data/udev/70-xk-r40.rules gives them to the seat's user: "
           "copy it into /etc/udev/rules.d/ as root (scripts/setup does), then replug the mouse";
}

std::string WhyNoVirtualMouse(const std::string& socket) {
    return "no virtual mouse answers at " + socket + " (start it with: xk-r40-vmouse --socket " +
           socket + " serve)";
}

} // namespace xk::ctl
