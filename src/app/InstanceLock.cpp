#include "app/InstanceLock.h"

namespace xk {

namespace {

std::unique_ptr<QLockFile> MakeLock(const std::filesystem::path& path) {
    auto lock = std::make_unique<QLockFile>(QString::fromStdString(path.string()));
    lock->setStaleLockTime(0); // stale only when its process is gone
    return lock;
}

QString LockFailure(const QLockFile& lock, const std::filesystem::path& path) {
    const QString name = QString::fromStdString(path.string());
    return lock.error() == QLockFile::PermissionError
               ? QStringLiteral("no permission to create the lock file %1").arg(name)
               : QStringLiteral("the lock file %1 cannot be written (is the disk full?)").arg(name);
}

} // namespace

InstanceLock::Outcome InstanceLock::TryLock(const InstancePlaces& places) {
    failure_.clear();
    beside_ = MakeLock(places.lock);
    const bool besideTaken = beside_->tryLock(0);
    if (!besideTaken && beside_->error() == QLockFile::LockFailedError) {
        beside_.reset();
        return Outcome::HeldByAnother;
    }
    if (!besideTaken) {
        failure_ = LockFailure(*beside_, places.lock);
        beside_.reset();
    }
    if (!places.fallbackLock.empty()) {
        inSocketFolder_ = MakeLock(places.fallbackLock);
        if (inSocketFolder_->tryLock(0)) {
            failure_.clear();
            return Outcome::Taken;
        }
        const bool held = inSocketFolder_->error() == QLockFile::LockFailedError;
        inSocketFolder_.reset();
        if (held) {
            beside_.reset();
            return Outcome::HeldByAnother;
        }
    }
    if (besideTaken) {
        return Outcome::Taken;
    }
    if (!places.socket.error.empty()) {
        failure_ += QStringLiteral("; ") + QString::fromStdString(places.socket.error);
    }
    return Outcome::Failed;
}

} // namespace xk
