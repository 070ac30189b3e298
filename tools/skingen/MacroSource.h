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
    std::array<std::string, 2> names; // English, Chinese
    MacroSlot slot{};                 // name left empty: set per language
};

std::vector<MacroDefinition> ParseMacroSource(std::string_view text, const std::string& name);
std::vector<MacroDefinition> LoadMacroSource(const std::filesystem::path& file);

// The 3192 digits of one slot in a macro file: every byte as three digits, events interleaved
// (virtual key, action, delay low, delay high).
std::string EncodeMacroSlot(const MacroSlot& slot);
// A whole macro file: section "Macros", "macroNum" and keys "0".."n-1", names in `language`.
std::string MacroFileText(const std::vector<MacroDefinition>& macros, size_t language);

} // namespace xk::skingen
