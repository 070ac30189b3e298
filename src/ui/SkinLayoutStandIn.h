#pragma once

// Temporary stand-in for the layout tables until the layout loader lands; replaced on merge.

#include <array>
#include <cstdint>
#include <string>

namespace xk {

struct Element {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct EdgeRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

inline constexpr int kMainElementCount = 124;
inline constexpr int kLightElementCount = 13;
inline constexpr int kMacroElementCount = 52;
inline constexpr int kWarningElementCount = 3;

struct SkinLayout {
    std::array<Element, kMainElementCount> mainElements{};
    std::array<std::string, kMainElementCount> mainCaptions{};
    std::array<std::string, 55> functionName{};
    std::array<Element, kLightElementCount> lightElements{};
    std::array<std::string, kLightElementCount> lightCaptions{};
    std::array<Element, kMacroElementCount> macroElements{};
    std::array<std::string, kMacroElementCount> macroCaptions{};
    EdgeRect repeatCountEditRect{};
    EdgeRect macroNameEditRect{};
    EdgeRect macroListRect{};
    EdgeRect eventListRect{};
    std::array<Element, kWarningElementCount> warningElements{};
    std::array<std::string, kWarningElementCount> warningCaptions{};
};

} // namespace xk
