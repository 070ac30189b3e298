#pragma once

#include "platform/SocketPlaces.h"

#include <QLockFile>
#include <QString>

#include <memory>

namespace xk {

// The one owner of a person's files and mouse: the running program, or xk-r40-ctl while the
// program does not run. Held as two lock files, the one beside config.ini and the one in the
// user's socket folder, so that a folder that takes no writes (read-only, full) still has one,
// and a process that could write only one of them still meets the owner there.
class InstanceLock {
public:
    enum class Outcome { Taken, HeldByAnother, Failed };

    // Tries once, without waiting; a lock whose process is gone is taken over.
    Outcome TryLock(const InstancePlaces& places);
    // Why neither lock file could be made (Failed).
    QString Failure() const { return failure_; }

private:
    std::unique_ptr<QLockFile> beside_;
    std::unique_ptr<QLockFile> inSocketFolder_;
    QString failure_;
};

} // namespace xk
