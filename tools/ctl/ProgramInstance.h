#pragma once

#include "app/InstanceLock.h"
#include "platform/SocketPlaces.h"

#include <QString>

#include <filesystem>

namespace xk::ctl {

// The running program's lock and socket for a person's folder, found the way xk-r40 makes
// them.
class ProgramInstance {
public:
    explicit ProgramInstance(const std::filesystem::path& personFolder);

    // Taken: xk-r40 does not run, and it cannot start until this object is gone, so
    // xk-r40-ctl is the one owner of the mouse and the files meanwhile.
    InstanceLock::Outcome TryLock() { return lock_.TryLock(places_); }
    // Why the lock cannot be taken (Failed).
    QString Failure() const { return lock_.Failure(); }
    // The socket to ask the running program through, or why there is none.
    const SocketPlace& Socket() const { return places_.socket; }

private:
    InstancePlaces places_;
    InstanceLock lock_;
};

} // namespace xk::ctl
