#pragma once

#include "settings/FileBytes.h"
#include "settings/IniDocument.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xk {

// Private-profile access to INI files on disk.

// The value cut to capacity - 1 characters (UTF-16 code units), or the empty text when the
// file, the section or the key is missing.
std::string IniRead(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, size_t capacity);

// Sets one value, adding the key, the section or the file as needed (a new file has CR LF
// line ends). The file is replaced atomically; a write that fails leaves it as it was.
// Callers may ignore the result.
bool IniWrite(const std::filesystem::path& file, std::string_view section, std::string_view key,
              std::string_view value);

// Reads a whole file; nothing when it is missing or unreadable.
std::optional<IniDocument> LoadIniDocument(const std::filesystem::path& file);
// Writes a whole document (WriteFileAtomically).
bool SaveIniDocument(const std::filesystem::path& file, const IniDocument& doc);

// Many writes to one file with one replacement: the same content as the key-by-key writes.
class IniBatch {
public:
    explicit IniBatch(std::filesystem::path file);
    void Set(std::string_view section, std::string_view key, std::string_view value);
    bool Commit();

private:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    std::filesystem::path file_;
    std::vector<Entry> pending_;
};

} // namespace xk
