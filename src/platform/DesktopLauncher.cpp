#include "platform/DesktopLauncher.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace xk {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// What the started program must not inherit from the thread that starts it: its signal
// dispositions (SIGPIPE ignored once a request came in) and mask, and the worker threads'
// scheduling policy and raised priority. Async-signal-safe.
void ResetInheritedState(int processNice) {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    ::sigemptyset(&standard.sa_mask);
    for (int signal = 1; signal < NSIG; ++signal) {
        ::sigaction(signal, &standard, nullptr); // fails harmlessly for KILL, STOP and gaps
    }
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    const sched_param normal{};
    ::sched_setscheduler(0, SCHED_OTHER, &normal);
    ::setpriority(PRIO_PROCESS, 0, processNice);
}

// Starts `program` in a grandchild that init adopts, so nothing is left to reap.
void StartDetached(const std::string& program) {
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    // The main thread's nice value is the process's own; the calling thread's may be raised.
    const int processNice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid()));
    const pid_t child = ::fork();
    if (child < 0) {
        return;
    }
    if (child == 0) {
        // Only async-signal-safe calls from here on.
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ResetInheritedState(processNice);
            const int null = ::open("/dev/null", O_RDWR);
            if (null >= 0) {
                ::dup2(null, STDIN_FILENO);
            }
            ::execv(program.c_str(), argv);
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

const std::vector<std::string>& DesktopLauncher::Candidates(LaunchTarget target) {
    static const std::vector<std::string> kCalculators = {"gnome-calculator", "kcalc", "galculator",
                                                          "xcalc"};
    static const std::vector<std::string> kTerminals = {"x-terminal-emulator", "gnome-terminal",
                                                        "konsole", "xterm"};
    return target == LaunchTarget::Calculator ? kCalculators : kTerminals;
}

std::string DesktopLauncher::FindProgram(const std::vector<std::string>& candidates,
                                         const std::string& searchPath) {
    for (const std::string& name : candidates) {
        size_t start = 0;
        while (start <= searchPath.size()) {
            const size_t colon = searchPath.find(':', start);
            const size_t end = colon == std::string::npos ? searchPath.size() : colon;
            const std::string dir = searchPath.substr(start, end - start);
            if (!dir.empty()) {
                const std::string full = dir + "/" + name;
                if (IsExecutableFile(full)) {
                    return full;
                }
            }
            start = end + 1;
        }
    }
    return {};
}

void DesktopLauncher::Launch(LaunchTarget target) {
    const char* path = std::getenv("PATH");
    const std::string program =
        FindProgram(Candidates(target), path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin");
    if (!program.empty()) {
        StartDetached(program);
    }
}

} // namespace xk
