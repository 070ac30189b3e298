#pragma once

#include "settings/Settings.h"
#include "settings/UserMessages.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace xk {

// A profile file holds one configuration in the section "Config" followed by this number.
inline constexpr int32_t kProfileConfig = 7;

// What the user is told when a profile file cannot be used, in the interface language.
enum class ProfileProblem { Unreadable, NotAProfile, NotWritten };
std::string ProfileMessage(ProfileProblem problem, const std::filesystem::path& file,
                           int32_t language);

// Loads the configuration fields from Config7 of a profile file; nothing else changes and
// nothing is saved. A file that cannot be read, lacks Config7 or holds none of its keys is
// refused with a message: the record stays as it was. False when refused.
bool ImportProfileFile(Settings& settings, const std::filesystem::path& file,
                       UserMessages& messages);

// Writes the configuration fields into Config7 of a file; the rest of an existing file stays.
// A write that fails shows a message and answers false.
bool ExportProfileFile(const Settings& settings, const std::filesystem::path& file,
                       UserMessages& messages);

} // namespace xk
