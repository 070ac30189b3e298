#include "platform/ProgramFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

namespace xk {
namespace {

constexpr const char* kProgramName = "xk-r40";

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

std::string AccountHome() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr) {
        return {};
    }
    return found->pw_dir;
}

bool IsAbsolute(const std::optional<std::string>& path) {
    return path && !path->empty() && path->front() == '/';
}

} // namespace

std::filesystem::path DirectoryOfProgram(std::string_view programPath) {
    const size_t slash = programPath.rfind('/');
    if (slash == std::string_view::npos) {
        return {};
    }
    return std::filesystem::path(programPath.substr(0, slash));
}

std::filesystem::path ExecutableDirectory() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : DirectoryOfProgram(exe.string());
}

std::filesystem::path PersonFolderFor(const FolderEnvironment& environment) {
    // Relative values are not meant for anyone and are passed over.
    if (IsAbsolute(environment.xdgConfigHome)) {
        return std::filesystem::path(*environment.xdgConfigHome) / kProgramName;
    }
    std::optional<std::string> home = environment.home;
    if (!IsAbsolute(home)) {
        home = environment.accountHome;
    }
    if (!IsAbsolute(home)) {
        return {};
    }
    return std::filesystem::path(*home) / ".config" / kProgramName;
}

ProgramFolders FoldersOf(const std::filesystem::path& executableDirectory,
                         const FolderEnvironment& environment,
                         const std::function<bool(const std::filesystem::path&)>& isFolder) {
    ProgramFolders folders;
    folders.person = PersonFolderFor(environment);
    const std::filesystem::path prefix = executableDirectory.parent_path();
    const std::filesystem::path installed = prefix / "share" / kProgramName;
    if (executableDirectory.filename() == "bin" && isFolder(installed)) {
        folders.data = installed;
        folders.former = prefix / "lib" / kProgramName;
    } else {
        folders.data = executableDirectory;
    }
    return folders;
}

ProgramFolders FoldersOfThisProgram() {
    FolderEnvironment environment{Variable("XDG_CONFIG_HOME"), Variable("HOME"), {}};
    if (!IsAbsolute(environment.xdgConfigHome) && !IsAbsolute(environment.home)) {
        environment.accountHome = AccountHome();
    }
    return FoldersOf(ExecutableDirectory(), environment, [](const std::filesystem::path& path) {
        std::error_code error;
        return std::filesystem::is_directory(path, error);
    });
}

std::filesystem::path ConfigPathIn(const std::filesystem::path& personFolder) {
    return personFolder / "config.ini";
}

} // namespace xk
