// xk-r40-vmouse: the virtual XK-R40 mouse and the commands that drive it.

#include "VirtualMouseServer.h"

#include "platform/TransportChoice.h"
#include "platform/UnixSocket.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: xk-r40-vmouse [--socket PATH] serve [--one-node] [--log FILE]"
    " [--hidraw DEVDIR [--sysfs DIR]]\n"
    "       xk-r40-vmouse [--socket PATH] press N | release N | dpi LEVEL | rate | unplug"
    " | state | log\n"
    "       with --hidraw: unplug NODE | remove NODE | add NODE | stall on|off"
    " | raw NODE HEX... | deny NODE | opens\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

// Sends one command to the serving mouse and prints its answer.
int RunCommand(const std::string& socketPath, const std::vector<std::string>& words) {
    const xk::UniqueFd fd = xk::ConnectUnixSocket(socketPath);
    if (!fd.valid()) {
        std::fprintf(stderr, "xk-r40-vmouse: no virtual mouse serves %s\n", socketPath.c_str());
        return 1;
    }
    std::string line;
    for (const std::string& word : words) {
        line += (line.empty() ? "" : " ") + word;
    }
    if (!xk::SendAll(fd.get(), line + "\n")) {
        std::fprintf(stderr, "xk-r40-vmouse: the virtual mouse went away\n");
        return 1;
    }
    xk::LineReader reader(fd.get());
    const std::string answer = reader.ReadAll();
    if (answer.rfind("error ", 0) == 0) {
        std::fprintf(stderr, "xk-r40-vmouse: %s", answer.c_str() + 6);
        return 1;
    }
    std::fwrite(answer.data(), 1, answer.size(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string socketPath;
    size_t i = 0;
    if (i < args.size() && args[i] == "--socket") {
        if (i + 1 >= args.size()) {
            return Usage();
        }
        socketPath = args[i + 1];
        i += 2;
    } else {
        const xk::SocketPlace place = xk::DefaultVirtualMouseSocket();
        if (!place.error.empty()) {
            std::fprintf(stderr, "xk-r40-vmouse: %s\n", place.error.c_str());
            return 1;
        }
        socketPath = place.path.string();
    }
    if (i >= args.size()) {
        return Usage();
    }
    const std::string command = args[i++];
    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    if (command == "serve") {
        std::string logFile;
        auto nodes = xk::VirtualMouse::Nodes::Separate;
        xk::HidrawPlaces hidraw;
        bool sysfsGiven = false;
        for (size_t k = 0; k < rest.size(); ++k) {
            if (rest[k] == "--one-node" && nodes == xk::VirtualMouse::Nodes::Separate) {
                nodes = xk::VirtualMouse::Nodes::OneNode;
            } else if (rest[k] == "--log" && k + 1 < rest.size() && logFile.empty()) {
                logFile = rest[++k];
            } else if (rest[k] == "--hidraw" && k + 1 < rest.size() && hidraw.devDir.empty()) {
                hidraw.devDir = rest[++k];
            } else if (rest[k] == "--sysfs" && k + 1 < rest.size() && !sysfsGiven) {
                hidraw.sysDir = rest[++k];
                sysfsGiven = true;
            } else {
                return Usage();
            }
        }
        if (sysfsGiven && hidraw.devDir.empty()) {
            return Usage();
        }
        return xk::ServeVirtualMouse(socketPath, logFile, nodes, hidraw);
    }
    const bool takesNumber = command == "press" || command == "release" || command == "dpi" ||
                             command == "remove" || command == "add" || command == "deny";
    const bool takesNothing = command == "rate" || command == "unplug" || command == "state" ||
                              command == "log" || command == "opens";
    const bool takesSwitch =
        command == "stall" && rest.size() == 1 && (rest[0] == "on" || rest[0] == "off");
    const bool takesBytes = command == "raw" && rest.size() >= 2;
    const bool unplugsOne = command == "unplug" && rest.size() == 1;
    if (!takesSwitch && !takesBytes && !unplugsOne &&
        ((takesNumber && rest.size() != 1) || (takesNothing && !rest.empty()) ||
         (!takesNumber && !takesNothing))) {
        return Usage();
    }
    std::vector<std::string> words{command};
    words.insert(words.end(), rest.begin(), rest.end());
    return RunCommand(socketPath, words);
}
