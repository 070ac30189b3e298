#include "platform/TransportChoice.h"

#include "platform/HidrawTransport.h"
#include "platform/SocketTransport.h"

#include <unistd.h>

#include <cstdlib>

namespace xk {

namespace {

constexpr const char* kVirtualMouseOption = "--virtual-mouse";
constexpr const char* kHiddenOption = "--hidden";

} // namespace

std::string DefaultVirtualMouseSocket() {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && *runtimeDir != '\0') {
        return std::string(runtimeDir) + "/xk-r40-vmouse.sock";
    }
    return "/tmp/xk-r40-vmouse-" + std::to_string(::getuid()) + ".sock";
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == kVirtualMouseOption && !result.virtualMouseSocket) {
            const bool hasPath =
                i + 1 < arguments.size() && !arguments[i + 1].empty() && arguments[i + 1][0] != '-';
            result.virtualMouseSocket = hasPath ? arguments[++i] : DefaultVirtualMouseSocket();
        } else if (argument == kHiddenOption && !result.hidden) {
            result.hidden = true;
        } else {
            result.error = "unknown argument: " + argument +
                           " (the options are --hidden and --virtual-mouse [PATH])";
            return result;
        }
    }
    return result;
}

std::unique_ptr<HidTransport> MakeTransport(const CommandLine& commandLine) {
    if (commandLine.virtualMouseSocket) {
        return std::make_unique<SocketTransport>(*commandLine.virtualMouseSocket);
    }
    return std::make_unique<HidrawTransport>();
}

} // namespace xk
