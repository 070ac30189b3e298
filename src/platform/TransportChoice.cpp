#include "platform/TransportChoice.h"

#include "platform/HidrawTransport.h"
#include "platform/SocketTransport.h"

#include <utility>

namespace xk {

namespace {

constexpr const char* kVirtualMouseOption = "--virtual-mouse";
constexpr const char* kHiddenOption = "--hidden";
constexpr const char* kHelpOption = "--help";
constexpr const char* kShortHelpOption = "-h";
constexpr const char* kVersionOption = "--version";

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
    // The first fault is kept; the rest is still read, so that --help and --version anywhere
    // are answered.
    const auto refuse = [&result](std::string error) {
        if (result.error.empty()) {
            result.error = std::move(error);
        }
    };
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
                refuse("no socket for the virtual mouse: " + place.error);
            }
            result.virtualMouseSocket = place.path.string();
        } else if (argument == kHiddenOption && !result.hidden) {
            result.hidden = true;
        } else if (argument == kHelpOption || argument == kShortHelpOption) {
            result.help = true;
        } else if (argument == kVersionOption) {
            result.version = true;
        } else {
            refuse("unknown argument: " + argument);
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
