#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace xk::test {

namespace {

int Spawn(const std::vector<std::string>& argv, int& output) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = -1;
    const int result = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (result != 0) {
        ::close(pipeFds[0]);
        return -1;
    }
    output = pipeFds[0];
    return pid;
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    pid_ = Spawn(argv, output_);
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) {
        ::close(output_);
    }
}

std::string ChildProcess::ReadLine(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        const size_t newline = pending_.find('\n');
        if (newline != std::string::npos) {
            std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{output_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            return {};
        }
        char chunk[512];
        const ssize_t got = ::read(output_, chunk, sizeof chunk);
        if (got <= 0) {
            return {};
        }
        pending_.append(chunk, static_cast<size_t>(got));
    }
}

void ChildProcess::Signal(int signal) const {
    if (pid_ > 0) {
        ::kill(pid_, signal);
    }
}

int ChildProcess::Wait(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (pid_ > 0) {
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return -1;
}

RunResult Run(const std::vector<std::string>& argv) {
    RunResult result;
    int output = -1;
    const int pid = Spawn(argv, output);
    if (pid < 0) {
        return result;
    }
    char chunk[4096];
    ssize_t got = 0;
    while ((got = ::read(output, chunk, sizeof chunk)) > 0) {
        result.output.append(chunk, static_cast<size_t>(got));
    }
    ::close(output);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace xk::test
