#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace xk {

// Where the program's files lie. The program and xk-r40-ctl find the same ones.
struct ProgramFolders {
    // The program's own read-only data: skins/, constMacro.dat, the delivered config.ini and
    // macro files.
    std::filesystem::path data;
    // The person's config.ini, Macro_EN.dat and Macro_CN.dat, with the lock beside them; empty
    // when no home folder is known.
    std::filesystem::path person;
    // Where an earlier per-user install kept the person's files (PREFIX/lib/xk-r40); empty for
    // a program run from its build folder.
    std::filesystem::path former;
};

// What places the person's folder: the variables as the environment gives them (nothing when
// unset) and the home folder of the user's account.
struct FolderEnvironment {
    std::optional<std::string> xdgConfigHome;
    std::optional<std::string> home;
    std::string accountHome;
};

// The directory of a program path: everything before its last '/', so a path without any
// '/' gives the empty directory.
std::filesystem::path DirectoryOfProgram(std::string_view programPath);

// The directory of the running executable (/proc/self/exe).
std::filesystem::path ExecutableDirectory();

// The folders of a program in `executableDirectory`. Installed, it lies in PREFIX/bin with its
// data in PREFIX/share/xk-r40; in a build folder its data lies beside it.
ProgramFolders FoldersOf(const std::filesystem::path& executableDirectory,
                         const FolderEnvironment& environment,
                         const std::function<bool(const std::filesystem::path&)>& isFolder);

// $XDG_CONFIG_HOME/xk-r40 where XDG_CONFIG_HOME is an absolute path, else .config/xk-r40 in
// $HOME, or in the account's home where HOME is unset or not absolute; empty when neither
// names a home.
std::filesystem::path PersonFolderFor(const FolderEnvironment& environment);

// The folders of this process, from its executable and environment.
ProgramFolders FoldersOfThisProgram();

// The person's config.ini in the person's folder, which the program's lock and socket are
// named from.
std::filesystem::path ConfigPathIn(const std::filesystem::path& personFolder);

} // namespace xk
