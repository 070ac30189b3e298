#pragma once

#include "settings/IniDocument.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace xk {

// Profiles and macro files are a few kilobytes; a file above this size is refused unread.
inline constexpr std::uintmax_t kSmallFileLimit = 1024 * 1024;

enum class SmallFileProblem { None, Unreadable, TooLarge };

struct SmallFileRead {
    std::optional<IniDocument> doc; // nothing when there is a problem
    SmallFileProblem problem = SmallFileProblem::None;
};

// An INI file of at most kSmallFileLimit bytes. The size is checked before anything is read,
// and no more than the limit is read should the file grow meanwhile.
SmallFileRead LoadSmallIniDocument(const std::filesystem::path& file);

} // namespace xk
