#include "app/SingleInstance.h"

#include "ctl/RequestProtocol.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace xk {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kConnectAttempts = 10;

} // namespace

SingleInstance::SingleInstance(QString directory) : directory_(std::move(directory)) {
    if (directory_.isEmpty()) {
        directory_ = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    }
    if (directory_.isEmpty()) {
        directory_ = QDir::tempPath();
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            ServeInstanceConnection(
                socket, [this] { emit showRequested(); },
                [this](const std::vector<std::string>& arguments) {
                    return requestHandler_ ? requestHandler_(arguments)
                                           : ctl::EncodeRefusal("xk-r40 is still starting");
                });
        }
    });
}

SingleInstance::~SingleInstance() {
    server_.close();
}

bool SingleInstance::BecomeFirst() {
    failure_.clear();
    if (!QDir().mkpath(directory_)) {
        failure_ = QStringLiteral("the folder %1 cannot be made").arg(directory_);
        return false;
    }
    const QString base = directory_ + QLatin1Char('/') + QLatin1String(kInstanceName);
    const QString lockPath = base + QStringLiteral(".lock");
    lock_ = std::make_unique<QLockFile>(lockPath);
    lock_->setStaleLockTime(0); // stale only when its process is gone
    if (!lock_->tryLock(0)) {
        switch (lock_->error()) {
        case QLockFile::NoError:
        case QLockFile::LockFailedError:
            break; // another instance runs
        case QLockFile::PermissionError:
            failure_ = QStringLiteral("no permission to create the lock file %1").arg(lockPath);
            break;
        case QLockFile::UnknownError:
            failure_ = QStringLiteral("the lock file %1 cannot be written (is the disk full?)")
                           .arg(lockPath);
            break;
        }
        return false;
    }
    QLocalServer::removeServer(base); // a socket left by a crash
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(base);
    return true;
}

void SingleInstance::SetRequestHandler(ControlRequestHandler handler) {
    requestHandler_ = std::move(handler);
}

bool SingleInstance::AskFirstToShow() {
    const QString base = directory_ + QLatin1Char('/') + QLatin1String(kInstanceName);
    // The first program may still be starting: try for a few seconds.
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(base);
        if (socket.waitForConnected(kConnectTimeoutMs)) {
            socket.write("show\n");
            const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(200);
    }
    return false;
}

} // namespace xk
