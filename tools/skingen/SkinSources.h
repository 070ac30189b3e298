#pragma once

#include "PageSource.h"
#include "ui/layout/LayoutPaths.h"

#include <filesystem>
#include <string>
#include <vector>

namespace xk::skingen {

// Every skin source of data/skin, read and checked together.
struct SkinSources {
    PageSource common;  // main layout rows 0..19, on every page
    PageSource main;    // main layout rows 20..123
    PageSource macro;   // advanced layout
    PageSource light;   // light layout
    PageSource warning; // warning layout and dialog
    PageSource menu;    // function popup
    PageSource submenu; // sub-popup
    FunctionNames functions;

    // The elements of one picture set: the common ones first for the three pages.
    std::vector<const SourceElement*> PageElements(const PageSource& page) const;
};

// Reads data/skin and checks it (throws SourceError on the first fault): every row that the
// program reads is defined once, lies inside its picture, and no drawn element overlaps
// another of its picture; no page element lies under a common element.
SkinSources LoadSkinSources(const std::filesystem::path& skinDir);

// The text of a layout file (UTF-8).
std::string LayoutFileText(const SkinSources& sources, LayoutKind kind, int32_t language);
// Writes the eight layout files under skinsDir/INI_EN and skinsDir/INI_CN.
void WriteLayoutFiles(const SkinSources& sources, const std::filesystem::path& skinsDir);

} // namespace xk::skingen
