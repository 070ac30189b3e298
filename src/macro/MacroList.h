#pragma once

#include "macro/MacroPage.h"
#include "macro/MacroStore.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace xk {

// Operations of the macro page on the store as a whole. Only SaveMacros and ExportMacros
// write a file.

// Index of the first user macro named exactly `text` (code unit by code unit), or
// userMacroCount when none is.
int32_t FindMacroByName(const MacroStore& store, std::u16string_view text);

// Rebuilds macroList from the store and selects the current macro.
void FillMacroList(MacroPage& page);
// The user selected a line of macroList.
void SelectMacro(MacroPage& page);
void NewMacro(MacroPage& page);
void DeleteMacro(MacroPage& page);
void ToggleRepeat(MacroPage& page);
// Takes the repeat count from repeatCountEdit (clamped to 1..65535) and writes the user macro
// file; false when the file could not be written.
bool SaveMacros(MacroPage& page);
// Replaces the user macros with those of a file: closes an open delay edit unwritten and stops
// a running recording first (both write into a slot by index), then LoadMacroFile. For the
// import, the reset and the language switch.
void LoadUserMacros(MacroPage& page, const std::filesystem::path& path);
// Loads the user macros from a chosen file (the dialog is the caller's) and shows them. A file
// that ReadMacroFileToImport refuses is named in a message and changes nothing; false then.
bool ImportMacros(MacroPage& page, const std::filesystem::path& path, int32_t language);
bool ExportMacros(MacroPage& page, const std::filesystem::path& path);

// The event list's selected line at start-up: the last key line of the current macro.
int32_t StartSelectedLine(const MacroStore& store);

} // namespace xk
