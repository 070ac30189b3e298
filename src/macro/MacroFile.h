#pragma once

#include "macro/MacroStore.h"
#include "settings/IniDocument.h"
#include "settings/UserMessages.h"

#include <cstdint>
#include <filesystem>

namespace xk {

inline constexpr const char* kMacroSection = "Macros";
inline constexpr const char* kMacroCountKey = "macroNum";
inline constexpr const char* kMissingMacroFileMessage = "找不到配置文件";
inline constexpr const char* kConstMacroFileName = "constMacro.dat";

enum class MacroTarget { User, Constant };

// The user macro file of a language: Macro_EN.dat in English, Macro_CN.dat in Chinese.
std::filesystem::path MacroFilePathFor(const std::filesystem::path& personFolder, int32_t language);
// Removes what saves killed between their temporary file and its rename left beside
// config.ini and both user macro files of the person's folder.
void RemoveSaveLeftovers(const std::filesystem::path& personFolder);
// The factory user macros of a language, which the reset loads: INI_EN/defMacro.dat or
// INI_CN/defMacro.dat under the skin folder.
std::filesystem::path DefaultMacroFilePath(const std::filesystem::path& skinsDir, int32_t language);

// Reads the macros of a document into the user or the constant store. The count is
// "macroNum" (its first two characters) limited to 0..12; slots at and behind it keep their
// bytes. The user store's currentMacro becomes count - 1, or 0 without macros.
void ReadMacros(const IniDocument& doc, MacroStore& store, MacroTarget target);
// ReadMacros of a file. A file that cannot be read shows "找不到配置文件", one above
// kSmallFileLimit says so unread; either loads as an empty document (no macros). False then.
bool LoadMacroFile(const std::filesystem::path& path, MacroStore& store, MacroTarget target,
                   UserMessages& messages);

// Writes "macroNum" and the user macros 0..userMacroCount - 1 into a document; other keys stay.
void WriteMacros(const MacroStore& store, IniDocument& doc);
// WriteMacros into a file, replaced atomically; false when it could not be written.
bool SaveMacroFile(const std::filesystem::path& path, const MacroStore& store);
// The user macros of a document saved into a file as SaveMacroFile of a store that loaded
// them would; no store changes. False when the file could not be written.
bool SaveMacrosOf(const IniDocument& doc, const std::filesystem::path& path);

} // namespace xk
