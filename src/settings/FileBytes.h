#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace xk {

// A whole file's bytes; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file);

// Replaces a file's bytes: a temporary file beside it, flushed to disk and given the file's
// permissions, then a rename, so a write cut short leaves the old file whole. Where the
// folder takes no new file (a read-only folder holding a writable file) the file is written
// in place instead.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

} // namespace xk
