#pragma once

#include <QLockFile>
#include <QString>

#include <memory>
#include <string>

namespace xk::ctl {

// The running program's lock and socket, "CNUV_DEvoraApp" in the user's runtime folder, found
// the way xk-r40 makes them.
class ProgramInstance {
public:
    ProgramInstance();

    // True when xk-r40 does not run; it cannot start until this object is gone, so
    // xk-r40-ctl is the one owner of the mouse and the files meanwhile.
    bool TryLock();
    // The socket to ask the running program through.
    std::string SocketPath() const;

private:
    QString base_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace xk::ctl
