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
    struct Header {
        size_t line;
        std::string name;
    };
    // What a line holds, found once when the line is read or written.
    struct LineInfo {
        size_t keyBegin = 0; // the key's place in the line, if it is a key line
        size_t keySize = 0;
        bool key = false;
        bool entry = false; // neither blank nor a comment
    };

    // Position in headers_ of the first section of that name.
    std::optional<size_t> FindSection(std::string_view section) const;
    // Index one past the last line of the section at headers_[h].
    size_t SectionEnd(size_t h) const;
    // Puts a line before lines_[at], keeping the headers in step.
    void InsertLine(size_t at, std::string line);
    void IndexHeaders();
    bool KeyAt(size_t i, std::string_view name) const;
    static LineInfo Describe(std::string_view line);

    std::vector<std::string> lines_;
    std::vector<LineInfo> info_;  // one for each line
    std::vector<Header> headers_; // every header line, in file order
    TextEncoding encoding_ = TextEncoding::Utf8;
    std::string newline_ = "\r\n"; // as Windows writes them; a file read keeps its own
    bool finalNewline_ = true;
};

} // namespace xk
