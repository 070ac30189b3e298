#pragma once

#include <filesystem>
#include <string_view>

namespace xk {

// The directory of a program path: everything before its last '/', so a path without any
// '/' gives the empty directory.
std::filesystem::path DirectoryOfProgram(std::string_view programPath);

// The directory of the running executable (/proc/self/exe).
std::filesystem::path ProgramDirectory();

} // namespace xk
