#include "macro/MacroFileCheck.h"

#include "macro/MacroFile.h"
#include "macro/MacroStore.h"
#include "macro/MacroValue.h"
#include "settings/Decimal.h"
#include "settings/Language.h"
#include "settings/SmallFile.h"

#include <string_view>

namespace xk {

namespace {

MacroFileRead Refused(MacroFileProblem problem, std::string fault = {}) {
    return {std::nullopt, problem, std::move(fault)};
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Groups of three digits, each a byte value; a short value reads its missing bytes as 0.
bool IsMacroValue(std::string_view value) {
    if (value.size() > kMacroValueLength || value.size() % 3 != 0) {
        return false;
    }
    for (size_t i = 0; i < value.size(); i += 3) {
        const std::string_view group = value.substr(i, 3);
        if (!IsDigit(group[0]) || !IsDigit(group[1]) || !IsDigit(group[2]) || group > "255") {
            return false;
        }
    }
    return true;
}

} // namespace

std::string MacroFileMessage(MacroFileProblem problem, const std::filesystem::path& file,
                             int32_t language, const std::string& fault) {
    const std::string name = file.string();
    const bool english = IsEnglish(language);
    switch (problem) {
    case MacroFileProblem::None:
        break;
    case MacroFileProblem::Unreadable:
        return english ? "Cannot read the macro file\n" + name + "\nNothing was changed."
                       : "无法读取宏文件\n" + name + "\n宏没有改变。";
    case MacroFileProblem::TooLarge:
        return english ? name + "\nis larger than 1 MiB, too large for a macro file.\nNothing "
                                "was changed."
                       : name + "\n大于 1 MiB，不是宏文件。\n宏没有改变。";
    case MacroFileProblem::NotAMacroFile:
        return english ? name + "\nis not a macro file: it has no [" + kMacroSection +
                             "] section.\nNothing was changed."
                       : name + "\n不是宏文件：其中没有 [" + kMacroSection + "] 段。\n宏没有改变。";
    case MacroFileProblem::BadValue:
        return english ? name + "\nis not a macro file the program can read: " + fault +
                             ".\nNothing was changed."
                       : name + "\n不是可读的宏文件：" + fault + "。\n宏没有改变。";
    }
    return name;
}

MacroFileRead ReadMacroFileToImport(const std::filesystem::path& file) {
    SmallFileRead read = LoadSmallIniDocument(file);
    if (read.problem == SmallFileProblem::TooLarge) {
        return Refused(MacroFileProblem::TooLarge);
    }
    if (!read.doc) {
        return Refused(MacroFileProblem::Unreadable);
    }
    const IniDocument& doc = *read.doc;
    if (!doc.HasSection(kMacroSection)) {
        return Refused(MacroFileProblem::NotAMacroFile);
    }
    const auto countText = doc.Get(kMacroSection, kMacroCountKey);
    if (!countText) {
        return Refused(MacroFileProblem::BadValue, std::string(kMacroCountKey) + " is missing");
    }
    // The form a save writes, so that the load reads the same count.
    const std::optional<int64_t> count = ParseTypedDecimal(*countText);
    if (!count || *count < 0 || *count > kUsableUserMacros ||
        std::to_string(*count) != *countText) {
        return Refused(MacroFileProblem::BadValue,
                       std::string(kMacroCountKey) + "=" + *countText + " (0..12 macros)");
    }
    for (int64_t i = 0; i < *count; ++i) {
        const std::string key = std::to_string(i);
        const auto value = doc.Get(kMacroSection, key);
        if (!value) {
            return Refused(MacroFileProblem::BadValue, "macro " + key + " is missing");
        }
        if (!IsMacroValue(*value)) {
            return Refused(MacroFileProblem::BadValue,
                           "macro " + key + " is not up to 1064 three-digit byte values");
        }
    }
    return {std::move(read.doc), MacroFileProblem::None, {}};
}

} // namespace xk
