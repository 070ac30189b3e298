#include "platform/PersonFiles.h"

#include "settings/FileBytes.h"
#include "settings/SettingsIo.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace xk {
namespace {

namespace fs = std::filesystem;

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// Copies `from` to `to`, which must not exist: a symbolic link as a link to the same file, a
// file with its bytes and permissions.
bool CopyWithoutReplacing(const fs::path& from, const fs::path& to, std::error_code& error) {
    if (fs::is_symlink(fs::symlink_status(from, error))) {
        fs::path target = fs::read_symlink(from, error);
        if (error) {
            return false;
        }
        if (target.is_relative()) {
            target = (from.parent_path() / target).lexically_normal();
        }
        fs::create_symlink(target, to, error);
        return !error;
    }
    return fs::copy_file(from, to, fs::copy_options::none, error);
}

// Moves one file of the former folder in; what happened, or nothing when there was nothing.
std::string MoveIn(const fs::path& from, const fs::path& to) {
    if (!Exists(from)) {
        return {};
    }
    if (Exists(to)) {
        return "kept " + from.string() + ": " + to.string() + " exists";
    }
    // A rename that never replaces; a link is moved as it is only where it stays valid.
    std::error_code error;
    const bool relativeLink = fs::is_symlink(fs::symlink_status(from, error)) &&
                              fs::read_symlink(from, error).is_relative();
    if (!relativeLink &&
        ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return "moved " + from.string() + " to " + to.string();
    }
    if (!CopyWithoutReplacing(from, to, error)) {
        return "could not move " + from.string() + " to " + to.string() + ": " + error.message();
    }
    fs::remove(from, error);
    if (error) {
        return "copied " + from.string() + " to " + to.string() +
               "; the old file stays: " + error.message();
    }
    return "moved " + from.string() + " to " + to.string();
}

} // namespace

bool MakePersonFolder(const fs::path& folder, std::string& problem) {
    if (folder.empty()) {
        problem = "no home folder is known (HOME is not set) for config.ini and the macros";
        return false;
    }
    std::error_code error;
    if (fs::is_directory(folder, error)) {
        return true;
    }
    // Root would make a folder in another user's home that the user could not write.
    if (RootWouldTakeOver(folder)) {
        problem = "as root, " + folder.string() + " is not made in another user's folder";
        return false;
    }
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
            problem = "cannot make the folder " + made.string() + ": " + std::strerror(errno);
            return false;
        }
    }
    if (!fs::is_directory(folder, error)) {
        problem = folder.string() + " is not a folder";
        return false;
    }
    return true;
}

std::vector<std::string> PreparePersonFiles(const ProgramFolders& folders, int32_t firstLanguage) {
    std::vector<std::string> said;
    const fs::path config = ConfigPathIn(folders.person);
    if (!folders.former.empty() && !Exists(config)) {
        for (const char* name : kPersonFileNames) {
            if (std::string line = MoveIn(folders.former / name, folders.person / name);
                !line.empty()) {
                said.push_back(std::move(line));
            }
        }
        std::error_code ignored;
        fs::remove(folders.former, ignored); // only when nothing else is left there
    }
    for (const char* name : kPersonFileNames) {
        const fs::path file = folders.person / name;
        if (Exists(file)) {
            continue;
        }
        const auto delivered = ReadFileBytes(folders.data / name);
        if (!delivered || !WriteFileAtomically(file, *delivered, NewFileAccess::Owner)) {
            continue; // read as missing, as the program always has
        }
        if (file == config && ReadLanguage(config) != firstLanguage) {
            WriteLanguage(config, firstLanguage);
        }
    }
    return said;
}

} // namespace xk
