#pragma once

#include "settings/Settings.h"

#include <filesystem>

namespace xk {

// The configuration half of the factory reset, in its order: the built-in defaults (keeping
// macroMode) into configuration 1, configurations 5, 4, 3, 2 from their factory sections,
// then the record reloaded from currentConfig. The macros and the upload follow elsewhere.
// False when a section could not be saved.
bool ResetConfigurations(Settings& settings, const std::filesystem::path& configPath);

} // namespace xk
