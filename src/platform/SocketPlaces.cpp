#include "platform/SocketPlaces.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace xk {

namespace {

constexpr const char* kLockName = "xk-r40.lock";

// Why `folder` is not a safe folder of `uid` for sockets; empty when it is.
std::string UnsafeFolder(const std::filesystem::path& folder, uid_t uid) {
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0) {
        return folder.string() + ": " + std::strerror(errno);
    }
    if (S_ISLNK(status.st_mode)) {
        return folder.string() + " is a symbolic link";
    }
    if (!S_ISDIR(status.st_mode)) {
        return folder.string() + " is not a folder";
    }
    if (status.st_uid != uid) {
        return folder.string() + " belongs to user " + std::to_string(status.st_uid) +
               ", not to user " + std::to_string(uid);
    }
    if ((status.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%03o", static_cast<unsigned>(status.st_mode & 0777));
        return folder.string() + " can be entered by others (mode " + mode + ", not 700)";
    }
    return {};
}

// 64-bit FNV-1a: the same in every build, unlike std::hash.
uint64_t StableHash(std::string_view text) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

SocketFolderCandidates UserSocketFolderCandidates() {
    const uid_t uid = ::getuid();
    const std::string id = std::to_string(uid);
    return {"/run/user/" + id, "/tmp/xk-r40-" + id, uid};
}

SocketPlace ChooseSocketFolder(const SocketFolderCandidates& candidates) {
    if (!candidates.runtime.empty() && UnsafeFolder(candidates.runtime, candidates.uid).empty()) {
        return {candidates.runtime, {}};
    }
    if (::mkdir(candidates.fallback.c_str(), 0700) != 0 && errno != EEXIST) {
        return {{},
                "cannot make the folder " + candidates.fallback.string() + ": " +
                    std::strerror(errno)};
    }
    if (std::string unsafe = UnsafeFolder(candidates.fallback, candidates.uid); !unsafe.empty()) {
        return {{}, "no safe folder for the program's socket: " + unsafe};
    }
    return {candidates.fallback, {}};
}

std::string InstanceName(const std::filesystem::path& personFolder) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::weakly_canonical(personFolder, error);
    if (error) {
        full = std::filesystem::absolute(personFolder, error).lexically_normal();
    }
    char hash[17];
    std::snprintf(hash, sizeof hash, "%012llx",
                  static_cast<unsigned long long>(StableHash(full.string()) >> 16));
    return std::string("xk-r40-") + hash;
}

InstancePlaces InstancePlacesFor(const std::filesystem::path& personFolder,
                                 const SocketFolderCandidates& candidates) {
    InstancePlaces places;
    places.lock = personFolder / kLockName;
    places.socket = ChooseSocketFolder(candidates);
    if (places.socket.error.empty()) {
        const std::string name = InstanceName(personFolder);
        places.fallbackLock = places.socket.path / (name + ".lock");
        places.socket.path /= name + ".sock";
    }
    return places;
}

} // namespace xk
