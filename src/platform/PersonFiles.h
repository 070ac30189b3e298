#pragma once

#include "platform/ProgramFolders.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace xk {

// The person's own files: the configurations and the macros of both languages.
inline constexpr std::array<const char*, 3> kPersonFileNames{"config.ini", "Macro_EN.dat",
                                                             "Macro_CN.dat"};

// Makes the person's folder and its missing parents, new ones readable by the user alone;
// false with the reason when it cannot be made or none is known (no home folder).
bool MakePersonFolder(const std::filesystem::path& folder, std::string& problem);

// Lays out the person's files before anything reads them; the caller holds the folder's lock.
// While the person's folder has no config.ini, the files of a former per-user install are
// moved in, as they are, never over a file already there. Then each file still missing is
// copied from the delivered one, readable by its owner alone; a config.ini made so gets
// `firstLanguage`. Returns what was moved or left, a line each, for the terminal.
std::vector<std::string> PreparePersonFiles(const ProgramFolders& folders, int32_t firstLanguage);

} // namespace xk
