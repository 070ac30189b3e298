#include "platform/ExitSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace xk {

namespace {

constexpr int kExitSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe the handler writes to. A signal handler reaches nothing but globals; this one
// belongs to the one live ExitSignals.
std::atomic<int> handlerPipe{-1};

extern "C" void WriteSignalNumber(int signal) {
    const int savedErrno = errno;
    const auto number = static_cast<unsigned char>(signal);
    (void)!::write(handlerPipe.load(), &number, 1); // a full pipe already says enough
    errno = savedErrno;
}

} // namespace

ExitSignals::ExitSignals() {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    readEnd_.Reset(ends[0]);
    writeEnd_.Reset(ends[1]);
    int expected = -1;
    if (!handlerPipe.compare_exchange_strong(expected, writeEnd_.get())) {
        readEnd_.Reset();
        writeEnd_.Reset();
        return;
    }
    for (const int signal : kExitSignals) {
        struct sigaction previous {};
        if (::sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = WriteSignalNumber;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        if (::sigaction(signal, &action, nullptr) == 0) {
            replaced_.emplace_back(signal, previous);
        }
    }
}

ExitSignals::~ExitSignals() {
    for (const auto& [signal, previous] : replaced_) {
        ::sigaction(signal, &previous, nullptr);
    }
    if (writeEnd_.valid()) {
        handlerPipe.store(-1);
    }
}

std::vector<int> ExitSignals::Take() {
    std::vector<int> signals;
    unsigned char numbers[64];
    while (readEnd_.valid()) {
        const ssize_t got = ::read(readEnd_.get(), numbers, sizeof numbers);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        signals.insert(signals.end(), numbers, numbers + got);
    }
    return signals;
}

} // namespace xk
