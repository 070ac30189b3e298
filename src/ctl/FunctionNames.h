#pragma once

#include "macro/MacroStore.h"
#include "ui/layout/SkinLayout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xk::ctl {

// The FUN_STRING names of a main layout: entry c names function code c.
using FunctionNameTable = std::array<std::string, kFunctionNameCount>;

// The names of the button functions as the window shows and offers them in one language: the
// layout's names, and for user macros the macro's own name as well.
class FunctionNames {
public:
    FunctionNames(const FunctionNameTable& layoutNames, const MacroStore& macros);

    // What the window writes on a button with this code: the macro's name for codes 41 and
    // up, the layout's name otherwise; "" where it writes nothing.
    std::string ShownName(int32_t code) const;

    // The codes the window's popups offer: user macros only while they exist.
    std::vector<int32_t> OfferedCodes() const;
    bool IsOffered(int32_t code) const;
    // The offered codes as ranges: "1..6, 11..16, 21..38, 41..42".
    std::string OfferedCodesText() const;

    struct Resolved {
        std::optional<int32_t> code;
        std::string error; // why the value names no offered function
    };
    // A code in decimal or a name (exact, else without regard to ASCII letter case; the
    // layout's names before the macros' own names).
    Resolved Resolve(std::string_view value) const;

private:
    int32_t UserMacroCount() const;
    std::string RefusedCode(int32_t code) const;

    const FunctionNameTable& layoutNames_;
    const MacroStore& macros_;
};

} // namespace xk::ctl
