#include "ctl/FunctionNames.h"

#include "ctl/CloseMatches.h"
#include "settings/Decimal.h"
#include "settings/FunctionCode.h"
#include "settings/TextCodec.h"

#include <algorithm>

namespace xk::ctl {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

} // namespace

FunctionNames::FunctionNames(const FunctionNameTable& layoutNames, const MacroStore& macros)
    : layoutNames_(layoutNames), macros_(macros) {}

int32_t FunctionNames::UserMacroCount() const {
    return std::clamp<int32_t>(macros_.userMacroCount, 0, kUsableUserMacros);
}

std::string FunctionNames::ShownName(int32_t code) const {
    if (code < 0 || code >= kFunctionCodeCount - 1) {
        return {};
    }
    if (code >= kFirstUserMacroCode) {
        const MacroSlot slot =
            macros_.CopyUserMacro(static_cast<size_t>(code - kFirstUserMacroCode));
        return Utf8FromUtf16(slot.Name());
    }
    return layoutNames_[static_cast<size_t>(code)];
}

bool FunctionNames::IsOffered(int32_t code) const {
    if (!OfferedInPopups(code)) {
        return false;
    }
    return code < kFirstUserMacroCode || code - kFirstUserMacroCode < UserMacroCount();
}

std::vector<int32_t> FunctionNames::OfferedCodes() const {
    std::vector<int32_t> codes;
    for (int32_t code = 0; code < kFunctionCodeCount; ++code) {
        if (IsOffered(code)) {
            codes.push_back(code);
        }
    }
    return codes;
}

std::string FunctionNames::OfferedCodesText() const {
    const std::vector<int32_t> codes = OfferedCodes();
    std::string text;
    for (size_t i = 0; i < codes.size();) {
        size_t end = i;
        while (end + 1 < codes.size() && codes[end + 1] == codes[end] + 1) {
            ++end;
        }
        text += (text.empty() ? "" : ", ") + std::to_string(codes[i]);
        if (end > i) {
            text += ".." + std::to_string(codes[end]);
        }
        i = end + 1;
    }
    return text;
}

std::string FunctionNames::RefusedCode(int32_t code) const {
    if (code >= kFirstUserMacroCode && code <= kLastUserMacroCode) {
        return "code " + std::to_string(code) + " is user macro " +
               std::to_string(code - kFirstUserMacroCode + 1) + ", but there are " +
               std::to_string(UserMacroCount()) + " user macros; codes: " + OfferedCodesText();
    }
    const std::string& name = layoutNames_[static_cast<size_t>(code)];
    return "code " + std::to_string(code) + (name.empty() ? "" : " (" + name + ")") +
           " is not offered for a button; codes: " + OfferedCodesText();
}

FunctionNames::Resolved FunctionNames::Resolve(std::string_view value) const {
    if (const std::optional<int64_t> number = ParseTypedDecimal(value)) {
        if (*number < 0 || *number >= kFunctionCodeCount) {
            return {std::nullopt, "code " + std::string(value) +
                                      " is no function code; codes: " + OfferedCodesText()};
        }
        const auto code = static_cast<int32_t>(*number);
        if (!IsOffered(code)) {
            return {std::nullopt, RefusedCode(code)};
        }
        return {code, {}};
    }

    // Offered names: the layout's, then the user macros' own.
    std::vector<std::pair<std::string, int32_t>> offered;
    for (const int32_t code : OfferedCodes()) {
        if (!layoutNames_[static_cast<size_t>(code)].empty()) {
            offered.emplace_back(layoutNames_[static_cast<size_t>(code)], code);
        }
    }
    for (const int32_t code : OfferedCodes()) {
        if (code >= kFirstUserMacroCode) {
            const std::string name = ShownName(code);
            if (!name.empty()) {
                offered.emplace_back(name, code);
            }
        }
    }
    for (const auto& [name, code] : offered) {
        if (name == value) {
            return {code, {}};
        }
    }
    for (const auto& [name, code] : offered) {
        if (SameIgnoringCase(name, value)) {
            return {code, {}};
        }
    }
    for (int32_t code = 1; code < kFunctionCodeCount; ++code) {
        if (SameIgnoringCase(layoutNames_[static_cast<size_t>(code)], value)) {
            return {std::nullopt, Quoted(value) + ": " + RefusedCode(code)};
        }
    }
    std::vector<std::string> names;
    for (const auto& entry : offered) {
        names.push_back(entry.first);
    }
    return {std::nullopt, "unknown function " + Quoted(value) + CloseMatchesNote(value, names) +
                              " (see: xk-r40-ctl functions)"};
}

} // namespace xk::ctl
