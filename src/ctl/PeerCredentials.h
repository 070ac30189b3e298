#pragma once

namespace xk::ctl {

// Whether the process at the other end of a connected Unix socket runs as this process's user
// (SO_PEERCRED). False when that cannot be told.
bool PeerIsSameUser(int socketFd);

} // namespace xk::ctl
