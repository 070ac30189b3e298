#pragma once

#include <filesystem>
#include <string_view>

namespace xk {

// The directory of a program path: everything before its last '/', so a path without any
// '/' gives the empty directory.
std::filesystem::path DirectoryOfProgram(std::string_view programPath);

// The directory of the running executable (/proc/self/exe).
std::filesystem::path ProgramDirectory();

// The person's config.ini of a program folder; its folder is the person's folder, which the
// program's lock and socket are named from.
std::filesystem::path ConfigPathIn(const std::filesystem::path& programDirectory);

} // namespace xk
