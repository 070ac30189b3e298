#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace xk {

// The folders a user's sockets may live in, in the order they are tried.
struct SocketFolderCandidates {
    std::filesystem::path runtime;  // the session's runtime folder, used only if it is the user's
    std::filesystem::path fallback; // made 0700 when missing, used only if it is the user's
    uid_t uid = 0;
};

// /run/user/UID and /tmp/xk-r40-UID of this process's user. The environment plays no part, so
// every process of the user, from a desktop, cron, su or a service, finds the same folder.
SocketFolderCandidates UserSocketFolderCandidates();

// A place for a socket, or why there is none.
struct SocketPlace {
    std::filesystem::path path;
    std::string error; // not empty when no safe place was found
};

// The first candidate that is a real folder (no symlink) of `uid` that no one else can enter;
// the fallback is made when missing. A fallback that fails those checks is an error: another
// user could have made it to receive this user's connections.
SocketPlace ChooseSocketFolder(const SocketFolderCandidates& candidates);

// Where the program of one person's folder (the folder of its config.ini) and xk-r40-ctl meet.
struct InstancePlaces {
    std::filesystem::path lock;         // beside config.ini
    std::filesystem::path fallbackLock; // in the socket folder, for a folder that takes no writes
    SocketPlace socket;                 // named from the person's folder
};
InstancePlaces InstancePlacesFor(const std::filesystem::path& personFolder,
                                 const SocketFolderCandidates& candidates);

// The name both places take from a person's folder: "xk-r40-" and a short hash of its full
// path, so that two folders never share a socket.
std::string InstanceName(const std::filesystem::path& personFolder);

} // namespace xk
