#include "ProgramInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace xk::ctl {

namespace {

constexpr const char* kInstanceName = "CNUV_DEvoraApp";

} // namespace

ProgramInstance::ProgramInstance() {
    QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty()) {
        directory = QDir::tempPath();
    }
    QDir().mkpath(directory);
    base_ = directory + QLatin1Char('/') + QLatin1String(kInstanceName);
}

bool ProgramInstance::TryLock() {
    lock_ = std::make_unique<QLockFile>(base_ + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0); // stale only when its process is gone
    return lock_->tryLock(0);
}

std::string ProgramInstance::SocketPath() const {
    return base_.toStdString();
}

} // namespace xk::ctl
