#pragma once

#include <string>
#include <vector>

namespace xk::test {

// A program started by a test, its standard output on a pipe. The destructor kills it.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    int pid() const { return pid_; }
    // The next line of its output; empty at its end or after `timeoutMs`.
    std::string ReadLine(int timeoutMs = 10000);
    void Signal(int signal) const;
    // Its exit status (-1 when it did not end normally within the timeout).
    int Wait(int timeoutMs = 10000);

private:
    int pid_ = -1;
    int output_ = -1;
    std::string pending_;
};

struct RunResult {
    int status = -1;
    std::string output;
};
// Runs a program to its end; stdout is collected, stderr goes to the test's.
RunResult Run(const std::vector<std::string>& argv);

} // namespace xk::test
