#include "platform/TransportChoice.h"

#include "platform/HidrawTransport.h"
#include "platform/SocketTransport.h"

namespace xk {

namespace {

constexpr const char* kVirtualMouseOption = "--virtual-mouse";
constexpr const char* kHiddenOption = "--hidden";

} // namespace

SocketPlace DefaultVirtualMouseSocket() {
    SocketPlace place = ChooseSocketFolder(UserSocketFolderCandidates());
    if (place.error.empty()) {
        place.path /= "xk-r40-vmouse.sock";
    }
    return place;
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == kVirtualMouseOption && !result.virtualMouseSocket) {
            const bool hasPath =
                i + 1 < arguments.size() && !arguments[i + 1].empty() && arguments[i + 1][0] != '-';
            if (hasPath) {
                result.virtualMouseSocket = arguments[++i];
                continue;
            }
            const SocketPlace place = DefaultVirtualMouseSocket();
            if (!place.error.empty()) {
                result.error = "no socket for the virtual mouse: " + place.error;
                return result;
            }
            result.virtualMouseSocket = place.path.string();
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
