#include "ctl/Arguments.h"

#include "ctl/Help.h"

#include <algorithm>
#include <array>
#include <optional>

namespace xk::ctl {

namespace {

constexpr std::string_view kVirtualMouseOption = "--virtual-mouse";

constexpr std::array<std::string_view, 9> kVerbs = {
    "status", "functions", "config", "set", "apply", "profile", "macros", "reset", "help"};

bool IsVerb(std::string_view word) {
    return std::find(kVerbs.begin(), kVerbs.end(), word) != kVerbs.end();
}

bool IsHelpOption(std::string_view word) {
    return word == "--help" || word == "-h";
}

bool IsYesOption(std::string_view word) {
    return word == "--yes" || word == "-y";
}

// A whole number in decimal, nothing else.
std::optional<int32_t> WholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    int32_t value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string Quoted(std::string_view word) {
    return "'" + std::string(word) + "'";
}

ParsedArguments Refuse(std::string error) {
    ParsedArguments result;
    result.error = std::move(error);
    return result;
}

// The command of a verb and the words after it (options already taken out).
ParsedArguments ParseVerb(std::string_view verb, const std::vector<std::string>& rest) {
    ParsedArguments result;
    Command& command = result.command;
    const auto expectNothing = [&](Verb v) {
        command.verb = v;
        if (!rest.empty()) {
            result.error = std::string(verb) + " takes no arguments, not " + Quoted(rest[0]);
        }
    };
    if (verb == "status") {
        expectNothing(Verb::Status);
    } else if (verb == "functions") {
        expectNothing(Verb::Functions);
    } else if (verb == "apply") {
        expectNothing(Verb::Apply);
    } else if (verb == "help") {
        command.verb = Verb::Help;
        if (rest.size() > 1) {
            result.error = "help takes at most one command's name";
        } else if (!rest.empty()) {
            if (HelpText(rest[0]).empty()) {
                result.error = "no command is named " + Quoted(rest[0]);
            }
            command.helpTopic = rest[0];
        }
    } else if (verb == "config") {
        command.verb = Verb::Config;
        const std::optional<int32_t> n = rest.size() == 1 ? WholeNumber(rest[0]) : std::nullopt;
        if (rest.size() != 1) {
            result.error = "config takes one configuration number, 1..5";
        } else if (!n || *n < kFirstConfiguration || *n > kLastConfiguration) {
            result.error = "configuration " + Quoted(rest[0]) + " is not one of 1..5";
        } else {
            command.configuration = *n;
        }
    } else if (verb == "set") {
        command.verb = Verb::Set;
        if (rest.empty() || rest.size() % 2 != 0) {
            result.error = "set takes KEY VALUE pairs";
        }
        for (size_t i = 0; i + 1 < rest.size(); i += 2) {
            command.assignments.emplace_back(rest[i], rest[i + 1]);
        }
    } else if (verb == "profile" || verb == "macros") {
        const bool profile = verb == "profile";
        const std::string_view what = rest.empty() ? std::string_view() : rest[0];
        if (!profile && what == "list" && rest.size() == 1) {
            command.verb = Verb::MacrosList;
        } else if ((what == "export" || what == "import") && rest.size() == 2 && !rest[1].empty()) {
            const bool exporting = what == "export";
            command.verb = profile ? (exporting ? Verb::ProfileExport : Verb::ProfileImport)
                                   : (exporting ? Verb::MacrosExport : Verb::MacrosImport);
            command.file = rest[1];
        } else {
            result.error = profile ? "use: profile export FILE | profile import FILE"
                                   : "use: macros list | macros export FILE | macros import FILE";
        }
    } else if (verb == "reset") {
        command.verb = Verb::Reset;
        const bool confirmed = rest.size() == 1 && IsYesOption(rest[0]);
        if (!confirmed) {
            result.error = rest.empty() ? "reset replaces all five configurations and the user "
                                          "macros with the factory ones; confirm with: reset --yes"
                                        : "reset takes only --yes";
        }
    } else {
        result.error = "unknown command " + Quoted(verb);
    }
    return result;
}

} // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) {
    bool virtualMouse = false;
    std::string socket;
    bool help = false;
    bool version = false;
    std::optional<std::string> verb;
    std::vector<std::string> rest;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word.empty()) {
            return Refuse("argument " + std::to_string(i + 1) + " is empty");
        }
        if (word == kVirtualMouseOption) {
            const bool hasSocket = i + 1 < arguments.size() && !arguments[i + 1].empty() &&
                                   arguments[i + 1][0] != '-' && !IsVerb(arguments[i + 1]);
            virtualMouse = true;
            socket = hasSocket ? arguments[++i] : std::string();
        } else if (word.starts_with(std::string(kVirtualMouseOption) + "=")) {
            virtualMouse = true;
            socket = word.substr(kVirtualMouseOption.size() + 1);
            if (socket.empty()) {
                return Refuse("--virtual-mouse= needs a socket");
            }
        } else if (IsHelpOption(word)) {
            help = true;
        } else if (word == "--version") {
            version = true;
        } else if (!verb) {
            if (word.starts_with("-")) {
                return Refuse("unknown option " + Quoted(word));
            }
            verb = word;
        } else if (word.starts_with("--") && !IsYesOption(word)) {
            return Refuse("unknown option " + Quoted(word));
        } else {
            rest.push_back(word);
        }
    }

    ParsedArguments result;
    if (version && !help) {
        result.version = true;
    } else if (help) {
        result.command.helpTopic = verb && *verb != "help" ? *verb : "";
        if (verb == "help" && !rest.empty()) {
            result.command.helpTopic = rest[0];
        }
        if (HelpText(result.command.helpTopic).empty()) {
            return Refuse("no command is named " + Quoted(result.command.helpTopic));
        }
    } else if (!verb) {
        return Refuse("no command given");
    } else {
        result = ParseVerb(*verb, rest);
    }
    result.virtualMouse = virtualMouse;
    result.virtualMouseSocket = std::move(socket);
    return result;
}

std::vector<std::string> CommandArguments(const Command& command) {
    switch (command.verb) {
    case Verb::Help:
        return command.helpTopic.empty() ? std::vector<std::string>{"help"}
                                         : std::vector<std::string>{"help", command.helpTopic};
    case Verb::Status:
        return {"status"};
    case Verb::Functions:
        return {"functions"};
    case Verb::Config:
        return {"config", std::to_string(command.configuration)};
    case Verb::Set: {
        std::vector<std::string> words{"set"};
        for (const auto& [key, value] : command.assignments) {
            words.push_back(key);
            words.push_back(value);
        }
        return words;
    }
    case Verb::Apply:
        return {"apply"};
    case Verb::ProfileExport:
        return {"profile", "export", command.file.string()};
    case Verb::ProfileImport:
        return {"profile", "import", command.file.string()};
    case Verb::MacrosList:
        return {"macros", "list"};
    case Verb::MacrosExport:
        return {"macros", "export", command.file.string()};
    case Verb::MacrosImport:
        return {"macros", "import", command.file.string()};
    case Verb::Reset:
        return {"reset", "--yes"};
    }
    return {};
}

} // namespace xk::ctl
