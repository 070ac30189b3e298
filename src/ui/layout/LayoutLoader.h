#pragma once

#include "ui/layout/LayoutReader.h"
#include "ui/layout/SkinLayout.h"

#include <cstdint>
#include <filesystem>

namespace xk {

inline constexpr std::string_view kButtonPosSection = "BUTTONPOS";
inline constexpr std::string_view kFunctionStringSection = "FUN_STRING";
inline constexpr std::string_view kEditSection = "EDIT";
inline constexpr std::string_view kMacroDisplaySection = "MACRODISPLAY";

// Each loader reads its layout file of `language` (non-zero: English) under `skinsDir` into
// `layout`. They return false when a missing file has ended loading (the reader showed its
// message and ran the exit procedure): start-up goes no further then.

// BUTTONPOS rows 0..123 into mainElements/mainCaptions; FUN_STRING rows 1..54 into functionName.
bool LoadMainLayout(LayoutReader& reader, const std::filesystem::path& skinsDir, int32_t language,
                    SkinLayout& layout);
// BUTTONPOS rows 0..12 into lightElements/lightCaptions.
bool LoadLightLayout(LayoutReader& reader, const std::filesystem::path& skinsDir, int32_t language,
                     SkinLayout& layout);
// BUTTONPOS rows 0..51 into macroElements/macroCaptions; EDIT rows 3, 4 and MACRODISPLAY rows
// 1, 2 into the four control rectangles.
bool LoadAdvancedLayout(LayoutReader& reader, const std::filesystem::path& skinsDir,
                        int32_t language, SkinLayout& layout);
// BUTTONPOS rows 0..2 into warningElements/warningCaptions.
bool LoadWarningLayout(LayoutReader& reader, const std::filesystem::path& skinsDir,
                       int32_t language, SkinLayout& layout);

// Fields 2..5 of a row as a position.
Element ElementFromRow(const LayoutRow& row);

} // namespace xk
