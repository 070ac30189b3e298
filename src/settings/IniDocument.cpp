#include "settings/IniDocument.h"

#include "settings/TextCodec.h"

namespace xk {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

// The name of a section header line, if the line is one.
std::optional<std::string_view> HeaderName(std::string_view line) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[') {
        return std::nullopt;
    }
    t.remove_prefix(1);
    const size_t close = t.find(']');
    if (close != std::string_view::npos) {
        t = t.substr(0, close);
    }
    return Trim(t);
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> SplitKeyLine(std::string_view line) {
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') {
        return std::nullopt;
    }
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))};
}

std::string Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::string DecodeBytes(std::string_view bytes, TextEncoding& encoding) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        encoding = TextEncoding::Utf16LeBom;
        std::u16string wide;
        wide.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto lo = static_cast<unsigned char>(bytes[i]);
            const auto hi = static_cast<unsigned char>(bytes[i + 1]);
            wide += static_cast<char16_t>(lo | (hi << 8));
        }
        return Utf8FromUtf16(wide);
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        encoding = TextEncoding::Utf8Bom;
        return std::string(bytes.substr(3));
    }
    encoding = TextEncoding::Utf8;
    return std::string(bytes);
}

} // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    const std::string text = DecodeBytes(bytes, doc.encoding_);
    // Lines end in CR LF, LF or a bare CR; the document writes back the kind its first line
    // end has, and CR LF when it has none.
    bool newlineSeen = false;
    size_t start = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c != '\n' && c != '\r') {
            ++pos;
            continue;
        }
        const size_t width = (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        if (!newlineSeen) {
            doc.newline_ = text.substr(pos, width);
            newlineSeen = true;
        }
        doc.lines_.push_back(text.substr(start, pos - start));
        pos += width;
        start = pos;
    }
    if (start < text.size()) {
        doc.lines_.push_back(text.substr(start));
    }
    doc.finalNewline_ = text.empty() || text.back() == '\n' || text.back() == '\r';
    doc.info_.reserve(doc.lines_.size());
    for (const std::string& line : doc.lines_) {
        doc.info_.push_back(Describe(line));
    }
    doc.IndexHeaders();
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string text;
    for (size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i];
        if (i + 1 < lines_.size() || finalNewline_) {
            text += newline_;
        }
    }
    switch (encoding_) {
    case TextEncoding::Utf8:
        return text;
    case TextEncoding::Utf8Bom:
        return "\xEF\xBB\xBF" + text;
    case TextEncoding::Utf16LeBom: {
        const std::u16string wide = Utf16FromUtf8(text);
        std::string out = "\xFF\xFE";
        out.reserve(2 + wide.size() * 2);
        for (const char16_t u : wide) {
            out += static_cast<char>(u & 0xFF);
            out += static_cast<char>(u >> 8);
        }
        return out;
    }
    }
    return text;
}

IniDocument::LineInfo IniDocument::Describe(std::string_view line) {
    if (const auto kv = SplitKeyLine(line)) {
        return {static_cast<size_t>(kv->key.data() - line.data()), kv->key.size(), true, true};
    }
    const std::string_view t = Trim(line);
    return {0, 0, false, !t.empty() && t.front() != ';'};
}

bool IniDocument::KeyAt(size_t i, std::string_view name) const {
    const LineInfo& info = info_[i];
    return info.key && info.keySize == name.size() &&
           SameName(std::string_view(lines_[i]).substr(info.keyBegin, info.keySize), name);
}

void IniDocument::IndexHeaders() {
    headers_.clear();
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = HeaderName(lines_[i])) {
            headers_.push_back({i, std::string(*name)});
        }
    }
}

void IniDocument::InsertLine(size_t at, std::string line) {
    const bool header = HeaderName(line).has_value();
    info_.insert(info_.begin() + static_cast<std::ptrdiff_t>(at), Describe(line));
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    if (header) {
        IndexHeaders();
        return;
    }
    for (Header& h : headers_) {
        if (h.line >= at) {
            ++h.line;
        }
    }
}

std::optional<size_t> IniDocument::FindSection(std::string_view section) const {
    const std::string_view wanted = Trim(section);
    for (size_t h = 0; h < headers_.size(); ++h) {
        if (SameName(headers_[h].name, wanted)) {
            return h;
        }
    }
    return std::nullopt;
}

size_t IniDocument::SectionEnd(size_t h) const {
    return h + 1 < headers_.size() ? headers_[h + 1].line : lines_.size();
}

bool IniDocument::HasSection(std::string_view section) const {
    return FindSection(section).has_value();
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const auto h = FindSection(section);
    if (!h) {
        return std::nullopt;
    }
    const std::string_view wanted = Trim(key);
    const size_t end = SectionEnd(*h);
    for (size_t i = headers_[*h].line + 1; i < end; ++i) {
        if (KeyAt(i, wanted)) {
            return Unquote(SplitKeyLine(lines_[i])->value);
        }
    }
    return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view name = Trim(key);
    const auto h = FindSection(section);
    if (!h) {
        // A file whose last line lacks its line end gets one before the new section.
        finalNewline_ = true;
        InsertLine(lines_.size(), "[" + std::string(Trim(section)) + "]");
        InsertLine(lines_.size(), std::string(name) + "=" + std::string(value));
        return;
    }
    const size_t header = headers_[*h].line;
    const size_t end = SectionEnd(*h);
    size_t lastEntry = header;
    for (size_t i = header + 1; i < end; ++i) {
        if (info_[i].entry) {
            lastEntry = i;
        }
        if (KeyAt(i, name)) {
            // The key does not start with '[' (its line would be a header), so neither does
            // the new line.
            lines_[i] =
                lines_[i].substr(info_[i].keyBegin, info_[i].keySize) + "=" + std::string(value);
            info_[i] = Describe(lines_[i]);
            return;
        }
    }
    InsertLine(lastEntry + 1, std::string(name) + "=" + std::string(value));
}

} // namespace xk
