#pragma once

#include "macro/MacroSlot.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace xk::skingen {

// One macro of a .macros file, its events already in memory form (key codes, not virtual keys).
struct MacroDefinition {
    std::array<std::string, 2> names; // by language
    MacroSlot slot{};                 // name left empty: set per language
};

std::vector<MacroDefinition> ParseMacroSource(std::string_view text, const std::string& name);
std::vector<MacroDefinition> LoadMacroSource(const std::filesystem::path& file);

// Writes a macro file of the macros, named in `language`, through the program's own writer;
// an older file at the path is replaced whole.
void WriteMacroFile(const std::vector<MacroDefinition>& macros, size_t language,
                    const std::filesystem::path& file);

} // namespace xk::skingen
