#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace xk {

// A whole file's bytes; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file);

// Replaces a file's bytes: a temporary file beside it, flushed to disk and given the file's
// permissions, then a rename, so a write cut short leaves the old file whole. A symbolic link
// (a dotfile manager's) is followed and its target replaced, so the link stays. Where the
// folder takes no new file (a read-only folder holding a writable file) the file is written
// in place instead. Refused when root would take over another user's file (RootWouldTakeOver).
// A file that is new is readable by its owner alone (a person's settings and macros, which
// may hold what was typed while recording), unless it is made for everyone.
enum class NewFileAccess { Owner, Everyone };
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         NewFileAccess access = NewFileAccess::Owner);

// The path a write of `file` replaces: symbolic links followed to their end (a link whose
// target is missing gives that target). Nothing for a loop of links.
std::optional<std::filesystem::path> WriteTarget(const std::filesystem::path& file);

// Whether the process runs as root and `file` (or, while it is missing, its folder) belongs to
// another user: a write would hand that user's file to root, and the user could no longer
// change it.
bool RootWouldTakeOver(const std::filesystem::path& file);

// Removes the temporaries that writes of `file` cut short left beside it (or beside its link's
// target); other files are left alone.
void RemoveLeftoverTemporaries(const std::filesystem::path& file);

} // namespace xk
