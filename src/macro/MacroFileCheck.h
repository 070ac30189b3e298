#pragma once

#include "settings/IniDocument.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace xk {

enum class MacroFileProblem { None, Unreadable, TooLarge, NotAMacroFile, BadValue };

// What the user is told when a macro file is refused, in the interface language; `fault`
// names the key at fault for BadValue.
std::string MacroFileMessage(MacroFileProblem problem, const std::filesystem::path& file,
                             int32_t language, const std::string& fault = {});

struct MacroFileRead {
    std::optional<IniDocument> doc; // nothing when refused
    MacroFileProblem problem = MacroFileProblem::None;
    std::string fault;
};

// A macro file to import, checked whole before any macro is replaced: at most
// kSmallFileLimit bytes, a [Macros] section whose "macroNum" is 0..12 as written ("%d"), and
// for every macro below it a value of up to 1064 three-digit byte values (000..255; missing
// ones read as 0).
MacroFileRead ReadMacroFileToImport(const std::filesystem::path& file);

} // namespace xk
