#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace xk::ctl {

// Why no mouse was found through hidraw, from what sysfs says: none plugged in, or plugged in
// with hidraw nodes the user may not open (then the udev rule is the cure). `hidrawClass` is
// normally /sys/class/hidraw, `devDir` /dev; `canOpen` tells whether a node may be opened for
// reading and writing.
std::string WhyNoHidrawMouse(const std::filesystem::path& hidrawClass,
                             const std::filesystem::path& devDir,
                             const std::function<bool(const std::filesystem::path&)>& canOpen);

// The same for the virtual mouse's socket.
std::string WhyNoVirtualMouse(const std::string& socket);

} // namespace xk::ctl
