#pragma once

#include "platform/UniqueFd.h"

#include <string>
#include <vector>

namespace xk {

// Sends device events as the udev daemon broadcasts them to its listeners (libudev's
// monitors): on the uevent netlink family, to the udev group, behind libudev's header. Needs
// the right to send to a netlink group (root); meant for a private network namespace.
class UdevEvents {
public:
    UdevEvents();
    bool valid() const { return socket_.valid(); }
    // One event; `properties` are "KEY=value" lines besides ACTION, SUBSYSTEM and SEQNUM.
    bool Send(const std::string& action, const std::string& subsystem,
              const std::vector<std::string>& properties);

private:
    UniqueFd socket_;
    unsigned long long seqnum_ = 1000;
};

} // namespace xk
