#include "SkinSources.h"

#include "settings/IniFile.h"
#include "ui/layout/LayoutLoader.h"
#include "ui/layout/SkinLayout.h"

#include <algorithm>
#include <sstream>

namespace xk::skingen {

namespace {

bool Overlap(const Element& a, const Element& b) {
    const Rect ra = a.Bounds();
    const Rect rb = b.Bounds();
    return ra.left < rb.right && rb.left < ra.right && ra.top < rb.bottom && rb.top < ra.bottom;
}

bool Empty(const Element& e) {
    return e.width <= 0 || e.height <= 0;
}

std::string Where(const PageSource& page, const SourceElement& e) {
    return page.name + ":" + std::to_string(e.line);
}

void RequireRows(const PageSource& page, std::string_view section, int32_t first, int32_t last) {
    for (int32_t row = first; row <= last; ++row) {
        if (page.Find(row, section) == nullptr) {
            throw SourceError(page.name + ": row " + std::string(section) + " " +
                              std::to_string(row) + " is missing");
        }
    }
    for (const auto& e : page.elements) {
        if (e.section == section && (e.row < first || e.row > last)) {
            throw SourceError(Where(page, e) + ": row " + std::to_string(e.row) +
                              " is not one the program reads");
        }
    }
}

void RequireInside(const PageSource& page, const SourceElement& e, int32_t width, int32_t height) {
    const Rect r = e.position.Bounds();
    if (e.position.width < 0 || e.position.height < 0 || r.left < 0 || r.top < 0 ||
        r.right > width || r.bottom > height) {
        throw SourceError(Where(page, e) + ": row " + std::to_string(e.row) +
                          " lies outside its picture");
    }
}

// No two drawn elements of one picture overlap: each shows its own look in the over and down
// pictures, and a copy of one rectangle must not carry a neighbour's look.
void RequireApart(const std::vector<std::pair<const PageSource*, const SourceElement*>>& all) {
    for (size_t i = 0; i < all.size(); ++i) {
        for (size_t j = i + 1; j < all.size(); ++j) {
            const auto& [pa, a] = all[i];
            const auto& [pb, b] = all[j];
            if (Empty(a->position) || Empty(b->position)) {
                continue;
            }
            if (Overlap(a->position, b->position)) {
                throw SourceError(Where(*pa, *a) + ": overlaps " + Where(*pb, *b));
            }
        }
    }
}

void CheckPicture(const SkinSources& s, const PageSource& page, int32_t width, int32_t height) {
    std::vector<std::pair<const PageSource*, const SourceElement*>> all;
    if (&page != &s.warning) {
        for (const auto& e : s.common.elements) {
            all.emplace_back(&s.common, &e);
        }
    }
    for (const auto& e : page.elements) {
        all.emplace_back(&page, &e);
    }
    for (const auto& [source, e] : all) {
        RequireInside(*source, *e, width, height);
    }
    RequireApart(all);
}

void Check(const SkinSources& s) {
    if (s.common.width <= 0 || s.common.height <= 0 || s.common.outline.size() < 3) {
        throw SourceError("common.page: needs a size and an outline");
    }
    RequireRows(s.common, kButtonPosSection, 0, kCommonElementCount - 1);
    RequireRows(s.main, kButtonPosSection, kCommonElementCount, kMainElementCount - 1);
    RequireRows(s.light, kButtonPosSection, 0, kLightElementCount - 1);
    RequireRows(s.macro, kButtonPosSection, 0, kMacroElementCount - 1);
    RequireRows(s.macro, kEditSection, kRepeatCountEditRow, kMacroNameEditRow);
    RequireRows(s.macro, kMacroDisplaySection, kMacroListRow, kEventListRow);
    RequireRows(s.warning, kButtonPosSection, 0, kWarningElementCount - 1);
    for (const PageSource* page : {&s.main, &s.macro, &s.light}) {
        CheckPicture(s, *page, s.common.width, s.common.height);
    }
    if (s.warning.width <= 0 || s.warning.height <= 0 || s.warning.outline.size() < 3) {
        throw SourceError("warning.page: needs a size and an outline");
    }
    CheckPicture(s, s.warning, s.warning.width, s.warning.height);
    if (s.menu.width > 300 || s.menu.rows != 10 || s.menu.height / s.menu.rows > 29 ||
        s.menu.height / s.menu.rows < 16) {
        throw SourceError("menu.page: ten rows of at most 29 pixels, at most 300 wide");
    }
    if (s.submenu.width > 300 || s.submenu.rows != 12 || s.submenu.height / s.submenu.rows > 33 ||
        s.submenu.height / s.submenu.rows < 16) {
        throw SourceError("submenu.page: twelve rows of at most 33 pixels, at most 300 wide");
    }
}

void AppendRows(std::ostringstream& out, const PageSource& page, std::string_view section,
                size_t language) {
    std::vector<const SourceElement*> rows;
    for (const auto& e : page.elements) {
        if (e.section == section) {
            rows.push_back(&e);
        }
    }
    std::sort(rows.begin(), rows.end(),
              [](const SourceElement* a, const SourceElement* b) { return a->row < b->row; });
    for (const SourceElement* row : rows) {
        const SourceElement& e = *row;
        out << e.row << '=' << e.role << ',' << e.position.x << ',' << e.position.y << ','
            << e.position.width << ',' << e.position.height << ',' << e.captions[language] << '\n';
    }
}

} // namespace

std::vector<const SourceElement*> SkinSources::PageElements(const PageSource& page) const {
    std::vector<const SourceElement*> out;
    if (&page != &warning) {
        for (const auto& e : common.elements) {
            out.push_back(&e);
        }
    }
    for (const auto& e : page.elements) {
        out.push_back(&e);
    }
    return out;
}

SkinSources LoadSkinSources(const std::filesystem::path& skinDir) {
    SkinSources s;
    s.common = LoadPageSource(skinDir / "common.page");
    s.main = LoadPageSource(skinDir / "main.page");
    s.macro = LoadPageSource(skinDir / "macro.page");
    s.light = LoadPageSource(skinDir / "light.page");
    s.warning = LoadPageSource(skinDir / "warning.page");
    s.menu = LoadPageSource(skinDir / "menu.page");
    s.submenu = LoadPageSource(skinDir / "submenu.page");
    s.functions = LoadFunctionNames(skinDir / "functions.txt", kFunctionNameCount);
    Check(s);
    return s;
}

std::string LayoutFileText(const SkinSources& s, LayoutKind kind, int32_t programLanguage) {
    const size_t language = TextIndex(programLanguage);
    std::ostringstream out;
    out << "; XK-R40 skin layout, " << (language == kEnglish ? "English" : "Chinese")
        << ". Rows: role,x,y,width,height,caption.\n";
    out << '[' << kButtonPosSection << "]\n";
    switch (kind) {
    case LayoutKind::Main:
        AppendRows(out, s.common, kButtonPosSection, language);
        AppendRows(out, s.main, kButtonPosSection, language);
        out << "\n[" << kFunctionStringSection << "]\n";
        for (size_t code = 1; code < s.functions.size(); ++code) {
            out << code << '=' << s.functions[code][language] << '\n';
        }
        break;
    case LayoutKind::Light:
        AppendRows(out, s.light, kButtonPosSection, language);
        break;
    case LayoutKind::Advanced:
        AppendRows(out, s.macro, kButtonPosSection, language);
        out << "\n[" << kEditSection << "]\n";
        AppendRows(out, s.macro, kEditSection, language);
        out << "\n[" << kMacroDisplaySection << "]\n";
        AppendRows(out, s.macro, kMacroDisplaySection, language);
        break;
    case LayoutKind::Warning:
        AppendRows(out, s.warning, kButtonPosSection, language);
        break;
    }
    return std::move(out).str();
}

void WriteLayoutFiles(const SkinSources& s, const std::filesystem::path& skinsDir) {
    for (int32_t language : {kLanguageEnglish, kLanguageChinese}) {
        for (auto kind :
             {LayoutKind::Main, LayoutKind::Light, LayoutKind::Advanced, LayoutKind::Warning}) {
            const auto path = LayoutPath(skinsDir, kind, language);
            std::filesystem::create_directories(path.parent_path());
            if (!WriteFileAtomically(path, LayoutFileText(s, kind, language),
                                     NewFileAccess::Everyone)) {
                throw SourceError(path.string() + ": cannot be written");
            }
        }
    }
}

} // namespace xk::skingen
