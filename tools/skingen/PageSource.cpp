#include "PageSource.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace xk::skingen {

std::string ReadSourceFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw SourceError(file.string() + ": cannot be read");
    }
    std::ostringstream text;
    text << in.rdbuf();
    return std::move(text).str();
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> SplitOn(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const auto end = text.find(separator, start);
        if (end == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

void ForEachSourceLine(std::string_view text, const std::string& name,
                       const std::function<void(const SourceLine&)>& each) {
    int lineNumber = 0;
    for (auto line : SplitOn(text, '\n')) {
        ++lineNumber;
        line = Trim(line);
        if (!line.empty() && line.front() != '#') {
            each({line, name + ":" + std::to_string(lineNumber), lineNumber});
        }
    }
}

int32_t ParseWholeNumber(std::string_view text, const std::string& where) {
    int32_t value = 0;
    const auto* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc{} || result.ptr != end) {
        throw SourceError(where + ": '" + std::string(text) + "' is not a number");
    }
    return value;
}

namespace {

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (auto word : SplitOn(text, ' ')) {
        word = Trim(word);
        if (!word.empty()) {
            words.push_back(word);
        }
    }
    return words;
}

Element ElementOf(const std::vector<std::string_view>& words, size_t first,
                  const std::string& where) {
    if (words.size() != first + 4) {
        throw SourceError(where + ": expected x y width height");
    }
    return {ParseWholeNumber(words[first], where), ParseWholeNumber(words[first + 1], where),
            ParseWholeNumber(words[first + 2], where), ParseWholeNumber(words[first + 3], where)};
}

void ParseDirective(PageSource& page, const std::vector<std::string_view>& words,
                    const std::string& where) {
    const auto keyword = words[0];
    if (keyword == "size" && words.size() == 3) {
        page.width = ParseWholeNumber(words[1], where);
        page.height = ParseWholeNumber(words[2], where);
    } else if (keyword == "outline") {
        for (size_t i = 1; i < words.size(); ++i) {
            const auto xy = SplitOn(words[i], ',');
            if (xy.size() != 2) {
                throw SourceError(where + ": outline points are x,y");
            }
            page.outline.push_back(
                {ParseWholeNumber(xy[0], where), ParseWholeNumber(xy[1], where)});
        }
    } else if (keyword == "rows" && words.size() == 2) {
        page.rows = ParseWholeNumber(words[1], where);
    } else if (keyword == "groups") {
        for (size_t i = 1; i < words.size(); ++i) {
            page.groups.push_back(ParseWholeNumber(words[i], where));
        }
    } else if (keyword == "panel" || keyword == "band" || keyword == "mouse") {
        page.decorations.push_back({std::string(keyword), ElementOf(words, 1, where)});
    } else {
        throw SourceError(where + ": unknown directive '" + std::string(keyword) + "'");
    }
}

SourceElement ParseElement(std::string_view line, const std::string& where) {
    const auto parts = SplitOn(line, '|');
    if (parts.size() > 3) {
        throw SourceError(where + ": more than two captions");
    }
    const auto words = Words(parts[0]);
    if (words.size() != 6) {
        throw SourceError(where + ": expected ROW ROLE X Y W H");
    }
    SourceElement element;
    element.line = 0;
    const auto rowWord = words[0];
    if (const auto colon = rowWord.find(':'); colon != std::string_view::npos) {
        element.section = std::string(rowWord.substr(0, colon));
        element.row = ParseWholeNumber(rowWord.substr(colon + 1), where);
    } else {
        element.row = ParseWholeNumber(rowWord, where);
    }
    element.role = std::string(words[1]);
    element.position = ElementOf(words, 2, where);
    for (size_t column = 0; column < kColumnLanguages.size(); ++column) {
        const size_t language = kColumnLanguages[column];
        if (parts.size() > column + 1) {
            element.captions[language] = std::string(Trim(parts[column + 1]));
        }
        if (element.captions[language].find(',') != std::string::npos) {
            throw SourceError(where + ": a caption holds no comma (the layout row splits there)");
        }
    }
    return element;
}

} // namespace

const SourceElement* PageSource::Find(int32_t row, std::string_view section) const {
    for (const auto& element : elements) {
        if (element.row == row && element.section == section) {
            return &element;
        }
    }
    return nullptr;
}

PageSource ParsePageSource(std::string_view text, const std::string& name) {
    PageSource page;
    page.name = name;
    ForEachSourceLine(text, name, [&](const SourceLine& line) {
        const std::string& where = line.where;
        if (line.text.front() >= 'a' && line.text.front() <= 'z') {
            ParseDirective(page, Words(line.text), where);
            return;
        }
        SourceElement element = ParseElement(line.text, where);
        element.line = line.number;
        if (page.Find(element.row, element.section) != nullptr) {
            throw SourceError(where + ": row " + std::to_string(element.row) + " is defined twice");
        }
        page.elements.push_back(std::move(element));
    });
    return page;
}

PageSource LoadPageSource(const std::filesystem::path& file) {
    return ParsePageSource(ReadSourceFile(file), file.filename().string());
}

FunctionNames LoadFunctionNames(const std::filesystem::path& file, int32_t count) {
    FunctionNames names(static_cast<size_t>(count));
    std::vector<bool> seen(static_cast<size_t>(count), false);
    const std::string name = file.filename().string();
    const std::string source = ReadSourceFile(file);
    ForEachSourceLine(source, name, [&](const SourceLine& line) {
        const std::string& where = line.where;
        const auto parts = SplitOn(line.text, '|');
        if (parts.size() != 3) {
            throw SourceError(where + ": expected CODE | English | Chinese");
        }
        const int32_t code = ParseWholeNumber(Trim(parts[0]), where);
        if (code < 1 || code >= count || seen[static_cast<size_t>(code)]) {
            throw SourceError(where + ": code out of range or given twice");
        }
        seen[static_cast<size_t>(code)] = true;
        for (size_t column = 0; column < kColumnLanguages.size(); ++column) {
            auto& text = names[static_cast<size_t>(code)][kColumnLanguages[column]];
            text = std::string(Trim(parts[column + 1]));
            if (text.find(',') != std::string::npos || text.empty()) {
                throw SourceError(where + ": a function name is not empty and holds no comma");
            }
        }
    });
    for (int32_t code = 1; code < count; ++code) {
        if (!seen[static_cast<size_t>(code)]) {
            throw SourceError(name + ": no name for code " + std::to_string(code));
        }
    }
    return names;
}

} // namespace xk::skingen
