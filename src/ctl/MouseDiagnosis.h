#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace xk::ctl {

// Why no mouse was found through hidraw, from what sysfs says: none plugged in, or plugged in
// with hidraw nodes the user may not open (then `ruleAdvice`, how the udev rule cures it,
// follows). `hidrawClass` is normally /sys/class/hidraw, `devDir` /dev; `canOpen` tells
// whether a node may be opened for reading and writing.
std::string WhyNoHidrawMouse(const std::filesystem::path& hidrawClass,
                             const std::filesystem::path& devDir,
                             const std::function<bool(const std::filesystem::path&)>& canOpen,
                             const std::string& ruleAdvice);

// How the udev rule gives the mouse to the seat's user: a replug where the rule is already one
// of `installedRules`, else the command that writes the line of the program's own copy,
// `deliveredRule`, as root.
std::string UdevRuleAdvice(const std::filesystem::path& deliveredRule,
                           const std::vector<std::filesystem::path>& installedRules);

// The places udev reads the rule from.
std::vector<std::filesystem::path> SystemUdevRules();

// The same for the virtual mouse's socket.
std::string WhyNoVirtualMouse(const std::string& socket);

// Why this computer shows no mouse: through the virtual mouse's socket when one is given, else
// through hidraw; `deliveredRule` is the program's copy of the udev rule.
std::string WhyNoMouse(const std::optional<std::string>& virtualMouseSocket,
                       const std::filesystem::path& deliveredRule);

} // namespace xk::ctl
