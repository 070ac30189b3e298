#include "ui/layout/LayoutLoader.h"

#include "settings/Decimal.h"
#include "ui/layout/LayoutPaths.h"

#include <span>

namespace xk {

namespace {

// Reads rows 0..n-1 of BUTTONPOS into an element table and its caption table.
void ReadElements(LayoutReader& reader, const std::filesystem::path& file,
                  std::span<Element> elements, std::span<std::string> captions) {
    for (size_t row = 0; row < elements.size(); ++row) {
        LayoutRow fields = reader.ReadLayoutRow(file, kButtonPosSection, static_cast<int32_t>(row));
        elements[row] = ElementFromRow(fields);
        captions[row] = std::move(fields[5]);
    }
}

Rect ReadRect(LayoutReader& reader, const std::filesystem::path& file, std::string_view section,
              int32_t row) {
    return ElementFromRow(reader.ReadLayoutRow(file, section, row)).Bounds();
}

// Ends a load: the next load reads the file anew.
bool Finish(LayoutReader& reader) {
    reader.Release();
    return !reader.Stopped();
}

} // namespace

Element ElementFromRow(const LayoutRow& row) {
    return {ParseDecimal(row[1]), ParseDecimal(row[2]), ParseDecimal(row[3]), ParseDecimal(row[4])};
}

bool LoadMainLayout(LayoutReader& reader, const std::filesystem::path& skinsDir, int32_t language,
                    SkinLayout& layout) {
    const auto file = LayoutPath(skinsDir, LayoutKind::Main, language);
    ReadElements(reader, file, layout.mainElements, layout.mainCaptions);
    for (int32_t code = 1; code < kFunctionNameCount; ++code) {
        layout.functionName[static_cast<size_t>(code)] =
            std::move(reader.ReadLayoutRow(file, kFunctionStringSection, code)[0]);
    }
    return Finish(reader);
}

bool LoadLightLayout(LayoutReader& reader, const std::filesystem::path& skinsDir, int32_t language,
                     SkinLayout& layout) {
    ReadElements(reader, LayoutPath(skinsDir, LayoutKind::Light, language), layout.lightElements,
                 layout.lightCaptions);
    return Finish(reader);
}

bool LoadAdvancedLayout(LayoutReader& reader, const std::filesystem::path& skinsDir,
                        int32_t language, SkinLayout& layout) {
    const auto file = LayoutPath(skinsDir, LayoutKind::Advanced, language);
    ReadElements(reader, file, layout.macroElements, layout.macroCaptions);
    layout.repeatCountEditRect = ReadRect(reader, file, kEditSection, kRepeatCountEditRow);
    layout.macroNameEditRect = ReadRect(reader, file, kEditSection, kMacroNameEditRow);
    layout.macroListRect = ReadRect(reader, file, kMacroDisplaySection, kMacroListRow);
    layout.eventListRect = ReadRect(reader, file, kMacroDisplaySection, kEventListRow);
    return Finish(reader);
}

bool LoadWarningLayout(LayoutReader& reader, const std::filesystem::path& skinsDir,
                       int32_t language, SkinLayout& layout) {
    ReadElements(reader, LayoutPath(skinsDir, LayoutKind::Warning, language),
                 layout.warningElements, layout.warningCaptions);
    return Finish(reader);
}

} // namespace xk
