#pragma once

#include "ui/layout/Element.h"

#include <array>
#include <cstdint>
#include <string>

namespace xk {

inline constexpr int32_t kMainElementCount = 124;  // BUTTONPOS rows 0..123
inline constexpr int32_t kCommonElementCount = 20; // main rows 0..19, on every page
inline constexpr int32_t kLightElementCount = 13;  // rows 0..12
inline constexpr int32_t kMacroElementCount = 52;  // rows 0..51
inline constexpr int32_t kWarningElementCount = 3; // confirm, cancel, message
inline constexpr int32_t kFunctionNameCount = 55;  // codes 0..54; FUN_STRING rows 1..54

// Rows of the advanced layout's EDIT and MACRODISPLAY sections that hold the four controls.
inline constexpr int32_t kRepeatCountEditRow = 3; // EDIT
inline constexpr int32_t kMacroNameEditRow = 4;   // EDIT
inline constexpr int32_t kMacroListRow = 1;       // MACRODISPLAY
inline constexpr int32_t kEventListRow = 2;       // MACRODISPLAY

// The position and caption tables read from the four layout files of one language. Entry k
// of an element table and of its caption table come from the same row. Everything is zero and
// empty until the first load; a load overwrites every entry it reads and no other.
struct SkinLayout {
    std::array<Element, kMainElementCount> mainElements{};
    std::array<std::string, kMainElementCount> mainCaptions{};
    // Entry c is the name shown for function code c; entry 0 stays empty.
    std::array<std::string, kFunctionNameCount> functionName{};

    std::array<Element, kLightElementCount> lightElements{};
    std::array<std::string, kLightElementCount> lightCaptions{};

    std::array<Element, kMacroElementCount> macroElements{};
    std::array<std::string, kMacroElementCount> macroCaptions{};
    Rect repeatCountEditRect{};
    Rect macroNameEditRect{};
    Rect macroListRect{};
    Rect eventListRect{};

    std::array<Element, kWarningElementCount> warningElements{};
    std::array<std::string, kWarningElementCount> warningCaptions{};
};

} // namespace xk
