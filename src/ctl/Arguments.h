#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xk::ctl {

enum class Verb {
    Help,
    Status,
    Functions,
    Config,
    Set,
    Apply,
    ProfileExport,
    ProfileImport,
    MacrosList,
    MacrosExport,
    MacrosImport,
    Reset,
};

// One command of xk-r40-ctl with its arguments.
struct Command {
    Verb verb = Verb::Help;
    std::string helpTopic;                                        // Help: "" for the overview
    int32_t configuration = 0;                                    // Config: 1..5
    std::vector<std::pair<std::string, std::string>> assignments; // Set: KEY VALUE pairs
    std::filesystem::path file;                                   // profile and macros files

    bool operator==(const Command&) const = default;
};

struct ParsedArguments {
    Command command;
    // --version: print the version and do nothing else.
    bool version = false;
    // --virtual-mouse [SOCKET]; an empty socket stands for the default one.
    bool virtualMouse = false;
    std::string virtualMouseSocket;
    // Not empty for arguments that are refused.
    std::string error;
};

inline constexpr int32_t kFirstConfiguration = 1;
inline constexpr int32_t kLastConfiguration = 5;

// The command line after the program's name. `--virtual-mouse [SOCKET]` may stand anywhere;
// SOCKET is the next argument unless that starts with '-' or is a command's name. `--help`
// (or `-h`) anywhere asks for the help of the command it follows; `--version` anywhere for the
// version.
ParsedArguments ParseArguments(const std::vector<std::string>& arguments);

// The arguments that give the same command again, without --virtual-mouse; what xk-r40-ctl
// sends to the running program.
std::vector<std::string> CommandArguments(const Command& command);

} // namespace xk::ctl
