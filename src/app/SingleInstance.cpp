#include "app/SingleInstance.h"

#include "ctl/PeerCredentials.h"
#include "ctl/RequestProtocol.h"
#include "platform/UnixSocket.h"

#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace xk {
namespace {

constexpr int kConnectAttempts = 10;
constexpr unsigned long kConnectPauseMs = 200;
// How long the socket rests after an accept failed for want of descriptors or memory.
constexpr int kAcceptPauseMs = 200;

} // namespace

SingleInstance::SingleInstance(SocketFolderCandidates candidates)
    : candidates_(std::move(candidates)) {}

SingleInstance::~SingleInstance() {
    notifier_.reset();
    if (listening_.valid()) {
        listening_.Reset();
        ::unlink(places_.socket.path.c_str());
    }
}

bool SingleInstance::BecomeFirst(const std::filesystem::path& personFolder) {
    failure_.clear();
    listenFailure_.clear();
    places_ = InstancePlacesFor(personFolder, candidates_);
    switch (lock_.TryLock(places_)) {
    case InstanceLock::Outcome::Taken:
        break;
    case InstanceLock::Outcome::HeldByAnother:
        return false;
    case InstanceLock::Outcome::Failed:
        failure_ = lock_.Failure();
        return false;
    }
    Listen();
    return true;
}

void SingleInstance::Listen() {
    if (!places_.socket.error.empty()) {
        listenFailure_ = QString::fromStdString(places_.socket.error);
        return;
    }
    const std::string path = places_.socket.path.string();
    ::unlink(path.c_str()); // left by a crash: this process holds the lock
    std::string error;
    listening_ = ListenUnixSocket(path, error);
    if (!listening_.valid()) {
        listenFailure_ = QString::fromStdString(error);
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(listening_.get(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SingleInstance::AcceptConnections);
}

void SingleInstance::AcceptConnections() {
    while (true) {
        UniqueFd fd(::accept4(listening_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!fd.valid()) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                return;
            }
            // Out of descriptors or memory: the connection waits in the queue, and the socket
            // keeps listening; it rests a moment rather than waking again at once.
            if (!acceptTroubleSaid_) {
                std::fprintf(stderr,
                             "xk-r40: cannot take a connection on %s (%s); still listening\n",
                             places_.socket.path.c_str(), std::strerror(errno));
                acceptTroubleSaid_ = true;
            }
            notifier_->setEnabled(false);
            QTimer::singleShot(kAcceptPauseMs, notifier_.get(),
                               [notifier = notifier_.get()] { notifier->setEnabled(true); });
            return;
        }
        acceptTroubleSaid_ = false;
        auto* socket = new QLocalSocket(this);
        if (!socket->setSocketDescriptor(fd.get())) {
            delete socket;
            continue;
        }
        fd.Release(); // the socket owns it now
        ServeInstanceConnection(
            socket, [this] { emit showRequested(); },
            [this](const std::vector<std::string>& arguments) {
                return requestHandler_ ? requestHandler_(arguments)
                                       : ctl::EncodeRefusal("xk-r40 is still starting");
            });
    }
}

void SingleInstance::SetRequestHandler(ControlRequestHandler handler) {
    requestHandler_ = std::move(handler);
}

bool SingleInstance::AskFirstToShow(QString* why) {
    const auto say = [why](const QString& text) {
        if (why != nullptr) {
            *why = text;
        }
        return false;
    };
    if (!places_.socket.error.empty()) {
        return say(QString::fromStdString(places_.socket.error));
    }
    const std::string path = places_.socket.path.string();
    // The first program may still be starting: try for a few seconds.
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        const UniqueFd fd = ConnectUnixSocket(path);
        if (fd.valid()) {
            if (!ctl::PeerIsSameUser(fd.get())) {
                return say(QStringLiteral("%1 is served by another user")
                               .arg(QString::fromStdString(path)));
            }
            return SendAll(fd.get(), "show\n") ||
                   say(QStringLiteral("it closed %1").arg(QString::fromStdString(path)));
        }
        QThread::msleep(kConnectPauseMs);
    }
    return say(QStringLiteral("nothing answers on %1").arg(QString::fromStdString(path)));
}

} // namespace xk
