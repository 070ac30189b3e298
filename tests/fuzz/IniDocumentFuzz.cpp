// Arbitrary bytes as an INI file: written back and read again it gives the same values and the
// same text; a value set in it reads back, and every other line stays as it was.
#include "FuzzCheck.h"

#include "settings/IniDocument.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using xk::IniDocument;
using xk::fuzz::Check;

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Section and key names the text seems to hold, to ask both documents for (the first 32: a
// question costs a pass over the document).
std::vector<std::pair<std::string, std::string>> NamesIn(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    for (const std::string_view raw : Lines(text)) {
        if (names.size() == 32) {
            break;
        }
        const std::string_view line = Trim(raw);
        if (!line.empty() && line.front() == '[') {
            section = std::string(Trim(line.substr(1, line.find(']') - 1)));
        } else if (const size_t eq = line.find('='); eq != std::string_view::npos) {
            names.emplace_back(section, std::string(Trim(line.substr(0, eq))));
        }
    }
    return names;
}

// Letters and digits only: names and values that every document keeps as they are.
std::string Plain(std::string_view from, char fallback) {
    std::string out;
    for (const char c : from) {
        const auto u = static_cast<unsigned char>(c);
        out += "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_"[u % 63];
    }
    return out.empty() ? std::string(1, fallback) : out;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// The change is one place: at most one line of `before` replaced or dropped there, and at
// most two lines put in.
bool KeepsOtherLines(std::string_view before, std::string_view after) {
    const auto old = Lines(before);
    const auto now = Lines(after);
    const size_t shorter = std::min(old.size(), now.size());
    size_t prefix = 0;
    while (prefix < shorter && old[prefix] == now[prefix]) {
        ++prefix;
    }
    size_t suffix = 0;
    while (prefix + suffix < shorter &&
           old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix]) {
        ++suffix;
    }
    return old.size() - prefix - suffix <= 1 && now.size() - prefix - suffix <= 2;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The last byte picks what to set; the rest is the file.
    if (size == 0) {
        return 0;
    }
    const uint8_t pick = data[size - 1];
    const std::string_view bytes(reinterpret_cast<const char*>(data), size - 1);

    const IniDocument doc = IniDocument::Parse(bytes);
    const std::string written = doc.Serialize();
    const IniDocument again = IniDocument::Parse(written);
    Check(again.Serialize() == written);
    Check(again.Encoding() == doc.Encoding());
    const auto names = NamesIn(bytes);
    for (const auto& [section, key] : names) {
        Check(again.Get(section, key) == doc.Get(section, key));
    }

    // Set a key: one of the file's own names (made plain) or a new one.
    std::string section = "Config1";
    std::string key = "K0";
    if (!names.empty() && (pick & 1) != 0) {
        const auto& chosen = names[(pick >> 1) % names.size()];
        section = Plain(chosen.first, 'S');
        key = Plain(chosen.second, 'K');
    }
    const std::string value = Plain(bytes.substr(0, pick % 8), '0');
    IniDocument changed = doc;
    changed.Set(section, key, value);
    const std::string changedText = changed.Serialize();
    const IniDocument reread = IniDocument::Parse(changedText);
    Check(reread.Get(section, key) == value);
    Check(reread.HasSection(section));
    for (const auto& [s, k] : names) {
        if (!(SameName(Trim(s), section) && SameName(k, key))) {
            Check(reread.Get(s, k) == doc.Get(s, k));
        }
    }
    if (doc.Encoding() != xk::TextEncoding::Utf16LeBom) {
        Check(KeepsOtherLines(written, changedText));
    }
    return 0;
}
