#pragma once

#include "macro/MacroPage.h"
#include "settings/IniDocument.h"

#include <cstdint>
#include <filesystem>

namespace xk {

// The user macros replaced as a whole by the reset and by the language switch. When the macro
// page is shown its list is refilled and the window repainted; otherwise the list is refilled
// when the page is next shown.

// The factory macros of the language (DefaultMacroFilePath) into the store, then saved to the
// user macro file (macroFilePath). False when that file could not be written.
bool ResetUserMacros(MacroPage& page, const std::filesystem::path& skinsDir, int32_t language,
                     bool pageShown);

// The macros of a checked macro file saved into the user macro file (macroFilePath) first;
// only when that worked do they replace the user macros (a recording stops first). False
// when the file could not be written: then nothing changed.
bool SaveThenReplaceUserMacros(MacroPage& page, const IniDocument& macros, bool pageShown);

// macroFilePath becomes the language's user macro file and the store is loaded from it;
// changes not saved are dropped, also when the language stays the same.
void SwitchUserMacros(MacroPage& page, const std::filesystem::path& personFolder, int32_t language,
                      bool pageShown);

} // namespace xk
