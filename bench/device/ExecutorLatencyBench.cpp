// Latency from the virtual mouse's input report to the first report of the button's macro, and
// the idle wake-ups of the listener and executor threads: the event-driven executor against a
// 2 ms polling one, in the same run, over the real xk-r40-vmouse program.
//
// usage: xk_device_bench [PRESSES] [IDLE_SECONDS]

#include "PollingExecutor.h"

#include "device/ActionExecutor.h"
#include "device/ButtonActions.h"
#include "device/InputListener.h"
#include "device/MouseConnection.h"
#include "device/UploadSettings.h"
#include "platform/SocketTransport.h"
#include "platform/ThreadPriority.h"
#include "platform/UnixSocket.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace xk::bench {
namespace {

using namespace std::chrono_literals;

class NoSystemSettings final : public SystemSettings {
public:
    std::optional<int> PointerSpeed() override { return std::nullopt; }
    void SetPointerSpeed(int) override {}
    std::optional<int> WheelScrollLines() override { return std::nullopt; }
    void SetWheelScrollLines(int) override {}
    std::optional<std::string> PointerSetting() override { return std::nullopt; }
    void RestorePointerSetting(const std::string&) override {}
};

class NoLauncher final : public Launcher {
public:
    void Launch(LaunchTarget) override {}
};

std::string Command(const std::string& socket, const std::string& line) {
    const UniqueFd fd = ConnectUnixSocket(socket);
    if (!fd.valid() || !SendAll(fd.get(), line + "\n")) {
        return {};
    }
    LineReader reader(fd.get());
    return reader.ReadAll();
}

std::set<int> ThreadIds() {
    std::set<int> ids;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        ids.insert(std::atoi(entry.path().filename().c_str()));
    }
    return ids;
}

// Voluntary and involuntary context switches of some threads of this process.
long ContextSwitches(const std::set<int>& threads) {
    long total = 0;
    for (const int tid : threads) {
        std::ifstream status("/proc/self/task/" + std::to_string(tid) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.find("ctxt_switches:") != std::string::npos) {
                total += std::atol(line.substr(line.find(':') + 1).c_str());
            }
        }
    }
    return total;
}

struct Result {
    std::string design;
    double p50Ms = 0;
    double p90Ms = 0;
    double p99Ms = 0;
    double maxMs = 0;
    double wakeupsPerSecond = 0;
};

// One design: the same listener, actions and reports; only the executor differs.
template <typename Executor>
Result Measure(const std::string& name, const std::string& socket, const std::filesystem::path& dir,
               int presses, int idleSeconds) {
    Settings settings;
    settings.configPath = dir / "config.ini";
    settings.currentConfig.store(1);
    settings.buttonFunction[0].store(41);
    MacroStore macros;
    macros.userMacros[0].eventCount = 1;
    macros.userMacros[0].events[0] = {4, 1}; // "a" down; the pass ends with ReleaseAll
    NoLauncher launcher;
    NoSystemSettings system;

    SocketTransport transport(socket);
    MouseConnection connection(transport);
    FeatureReports reports(connection);
    ExecutorFlags flags;
    StopSignal shutdown;
    ButtonActions actions(settings, macros, reports, launcher, flags, shutdown, {});
    InputListener listener(settings, connection, flags);
    Executor executor(actions, flags, shutdown);

    listener.SetThreadStartHook(RaiseCurrentThreadPriority);
    executor.SetThreadStartHook(RaiseCurrentThreadPriority);
    const std::set<int> before = ThreadIds();
    listener.Start();
    executor.Start();
    std::set<int> threads;
    for (const int tid : ThreadIds()) {
        if (before.count(tid) == 0) {
            threads.insert(tid);
        }
    }
    if (!connection.FindMouse()) {
        std::fprintf(stderr, "xk_device_bench: the virtual mouse was not found\n");
        std::exit(1);
    }
    UploadSettings(settings, reports, system, {});

    std::this_thread::sleep_for(200ms);
    const long switchesBefore = ContextSwitches(threads);
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const long idleSwitches = ContextSwitches(threads) - switchesBefore;

    std::istringstream before_log(Command(socket, "log"));
    size_t skip = 0;
    for (std::string line; std::getline(before_log, line);) {
        ++skip;
    }
    for (int i = 0; i < presses; ++i) {
        Command(socket, "press 1");
        Command(socket, "release 1");
        while (executor.EventsHandled() < static_cast<uint64_t>(i + 1)) {
            std::this_thread::sleep_for(1ms);
        }
    }
    listener.Stop();
    executor.Stop();

    std::vector<double> latencies;
    std::istringstream log(Command(socket, "log"));
    long pressedAt = -1;
    size_t index = 0;
    for (std::string line; std::getline(log, line); ++index) {
        if (index < skip) {
            continue;
        }
        const long micros = std::atol(line.c_str());
        if (line.find(" input 06 f1 01") != std::string::npos) {
            pressedAt = micros;
        } else if (pressedAt >= 0 && line.find(" feature 07 15") != std::string::npos) {
            latencies.push_back(static_cast<double>(micros - pressedAt) / 1000.0);
            pressedAt = -1;
        }
    }
    std::sort(latencies.begin(), latencies.end());
    Result result{name};
    if (!latencies.empty()) {
        const size_t n = latencies.size();
        const auto percentile = [&](size_t p) { return latencies[(n * p + 99) / 100 - 1]; };
        result.p50Ms = percentile(50);
        result.p90Ms = percentile(90);
        result.p99Ms = percentile(99);
        result.maxMs = latencies.back();
    }
    result.wakeupsPerSecond = static_cast<double>(idleSwitches) / idleSeconds;
    if (latencies.size() != static_cast<size_t>(presses)) {
        std::fprintf(stderr, "xk_device_bench: %zu of %d presses measured\n", latencies.size(),
                     presses);
    }
    return result;
}

int Main(int argc, char** argv) {
    const int presses = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 10;
    if (presses <= 0 || idleSeconds <= 0) {
        std::fprintf(stderr, "usage: xk_device_bench [PRESSES] [IDLE_SECONDS]\n");
        return 2;
    }
    char pattern[] = "/tmp/xk-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        return 1;
    }
    const std::filesystem::path dir = pattern;
    const std::string socket = (dir / "vmouse.sock").string();

    std::string program = XK_VMOUSE_PROGRAM;
    std::string socketOption = "--socket";
    std::string serve = "serve";
    char* serverArgs[] = {program.data(), socketOption.data(), const_cast<char*>(socket.c_str()),
                          serve.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t server = -1;
    if (posix_spawn(&server, program.c_str(), &actions, nullptr, serverArgs, environ) != 0) {
        std::fprintf(stderr, "xk_device_bench: cannot start %s\n", program.c_str());
        return 1;
    }
    posix_spawn_file_actions_destroy(&actions);
    for (int i = 0; i < 500 && !ConnectUnixSocket(socket).valid(); ++i) {
        std::this_thread::sleep_for(10ms);
    }

    const Result waiting = Measure<ActionExecutor>("event-driven (condition variable)", socket, dir,
                                                   presses, idleSeconds);
    const Result polling =
        Measure<PollingExecutor>("2 ms polling", socket, dir, presses, idleSeconds);

    Command(socket, "unplug");
    ::waitpid(server, nullptr, 0);
    std::filesystem::remove_all(dir);

    std::printf("| executor | p50 | p90 | p99 | max | idle wake-ups per second |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const Result& r : {waiting, polling}) {
        std::printf("| %s | %.3f ms | %.3f ms | %.3f ms | %.3f ms | %.1f |\n", r.design.c_str(),
                    r.p50Ms, r.p90Ms, r.p99Ms, r.maxMs, r.wakeupsPerSecond);
    }
    std::printf("\n%d presses, %d s idle, listener and executor threads\n", presses, idleSeconds);
    return 0;
}

} // namespace
} // namespace xk::bench

int main(int argc, char** argv) {
    return xk::bench::Main(argc, argv);
}
