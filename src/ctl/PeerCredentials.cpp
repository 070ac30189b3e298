#include "ctl/PeerCredentials.h"

#include <sys/socket.h>
#include <unistd.h>

namespace xk::ctl {

bool PeerIsSameUser(int socketFd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (socketFd < 0 || ::getsockopt(socketFd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
        size != sizeof peer) {
        return false;
    }
    return peer.uid == ::geteuid();
}

} // namespace xk::ctl
