#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xk {

// How an INI file's bytes are encoded; a document is written back the way it was read.
enum class TextEncoding { Utf8, Utf8Bom, Utf16LeBom };

// An INI file held in memory with private-profile semantics: section and key names match
// without regard to ASCII case, blanks around names and values are dropped, a value in a pair
// of double quotes reads without them, and every line that is not changed stays as it was.
// Lines end in CR LF, LF or a bare CR; a new document writes CR LF, a read one the line end
// it had.
class IniDocument {
public:
    IniDocument() = default;

    static IniDocument Parse(std::string_view bytes);
    std::string Serialize() const;

    // The value of the first matching key in the first matching section.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Sets the value, adding the key at the end of its section or the section at the end.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    bool HasSection(std::string_view section) const;
    TextEncoding Encoding() const { return encoding_; }

private:
    std::optional<size_t> FindSection(std::string_view section) const;
    // Index one past the section's header; end is the next header or the end of the file.
    size_t SectionEnd(size_t header) const;

    std::vector<std::string> lines_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    std::string newline_ = "\r\n"; // as Windows writes them; a file read keeps its own
    bool finalNewline_ = true;
};

} // namespace xk
