#pragma once

#include "settings/Language.h"
#include "ui/layout/Element.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace xk::skingen {

// Texts of both languages are indexed as the program numbers languages; the sources give the
// English column first.
inline constexpr size_t kEnglish = kLanguageEnglish;
inline constexpr size_t kChinese = kLanguageChinese;
inline constexpr std::array<size_t, 2> kColumnLanguages{kEnglish, kChinese};

// The index of a program language value (any non-zero value is English).
constexpr size_t TextIndex(int32_t language) {
    return IsEnglish(language) ? kEnglish : kChinese;
}

// The permissions of the data files the generator lays out: read by every user of an install.
inline constexpr std::filesystem::perms kDeliveredFilePerms =
    std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
    std::filesystem::perms::group_read | std::filesystem::perms::others_read;

// A fault in a source file, with the file and line it comes from.
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// One element line: its layout row, how it is drawn, where, and its captions.
struct SourceElement {
    std::string section = "BUTTONPOS";
    int32_t row = 0;
    std::string role;
    Element position;
    std::array<std::string, 2> captions; // by language
    int line = 0;
};

// A decoration that is no layout row: "panel", "band", "mouse".
struct Decoration {
    std::string kind;
    Element position;
};

// One .page file.
struct PageSource {
    std::string name;
    int32_t width = 0; // from "size"; 0 when the file has none
    int32_t height = 0;
    std::vector<Point> outline;
    int32_t rows = 0;            // "rows": popup row count
    std::vector<int32_t> groups; // "groups": popup rows that open the sub-popup
    std::vector<Decoration> decorations;
    std::vector<SourceElement> elements;

    // The element of a BUTTONPOS row, or nullptr.
    const SourceElement* Find(int32_t row, std::string_view section = "BUTTONPOS") const;
};

PageSource ParsePageSource(std::string_view text, const std::string& name);
PageSource LoadPageSource(const std::filesystem::path& file);

// Function names 1..54 of functions.txt; entry 0 stays empty.
using FunctionNames = std::vector<std::array<std::string, 2>>;
FunctionNames LoadFunctionNames(const std::filesystem::path& file, int32_t count);

// Helpers shared by the source readers.
std::string ReadSourceFile(const std::filesystem::path& file);
std::string_view Trim(std::string_view text);
std::vector<std::string_view> SplitOn(std::string_view text, char separator);
// One line of a source text, trimmed; `where` is "name:number" for messages.
struct SourceLine {
    std::string_view text;
    std::string where;
    int number = 0;
};
// Calls `each` for every line of a source text that is neither blank nor a comment ('#').
void ForEachSourceLine(std::string_view text, const std::string& name,
                       const std::function<void(const SourceLine&)>& each);
// A whole decimal integer; throws SourceError naming `where` otherwise.
int32_t ParseWholeNumber(std::string_view text, const std::string& where);

} // namespace xk::skingen
