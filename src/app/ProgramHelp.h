#pragma once

#include <string_view>

namespace xk {

// xk-r40 --help: the usage line, what the program does, its options and files. Also the
// source of its manual page.
std::string_view ProgramHelp();

// The usage line alone, for a refused command line.
std::string_view ProgramUsage();

} // namespace xk
