#pragma once

#include "settings/Settings.h"
#include "settings/UserMessages.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace xk {

// A profile file holds one configuration in the section "Config" followed by this number.
inline constexpr int32_t kProfileConfig = 7;

// What the user is told when a profile file cannot be used, in the interface language.
enum class ProfileProblem { None, Unreadable, TooLarge, NotAProfile, BadValue, NotWritten };
// `fault`: for BadValue, the first key at fault and why.
std::string ProfileMessage(ProfileProblem problem, const std::filesystem::path& file,
                           int32_t language, const std::string& fault = {});

struct ProfileRead {
    std::optional<Configuration> config; // nothing when refused
    ProfileProblem problem = ProfileProblem::None;
    std::string fault;
};

// The configuration of a profile file, checked as a whole: every key of a configuration
// section present in Config7, each a number in its field's range, some button the left button
// and some DPI level enabled. Files above kSmallFileLimit are refused unread.
ProfileRead ReadProfile(const std::filesystem::path& file);

// Loads the configuration fields from a profile file (ReadProfile); nothing else changes and
// nothing is saved. A file that is refused shows a message: the record stays as it was.
// False when refused.
bool ImportProfileFile(Settings& settings, const std::filesystem::path& file,
                       UserMessages& messages);

// Writes the configuration fields into Config7 of a file; the rest of an existing file stays.
// A write that fails shows a message and answers false.
bool ExportProfileFile(const Settings& settings, const std::filesystem::path& file,
                       UserMessages& messages);

} // namespace xk
