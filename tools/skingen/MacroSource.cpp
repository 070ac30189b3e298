#include "MacroSource.h"

#include "PageSource.h"
#include "macro/KeyCodes.h"
#include "macro/MacroFile.h"
#include "macro/MacroStore.h"
#include "settings/TextCodec.h"

#include <optional>
#include <system_error>

namespace xk::skingen {

namespace {

constexpr uint16_t kDefaultDelay = 20;

// The key code whose display name is `name`, as the program names keys.
std::optional<uint8_t> KeyNamed(std::string_view name) {
    for (int code = 0; code < 256; ++code) {
        const auto key = static_cast<uint8_t>(code);
        if (KeyName(key) == name) {
            return key;
        }
    }
    return std::nullopt;
}

void ParseEvents(MacroSlot& slot, std::string_view text, const std::string& where) {
    size_t count = 0;
    for (auto word : SplitOn(text, ' ')) {
        word = Trim(word);
        if (word.empty()) {
            continue;
        }
        if (count == kMacroEventCapacity) {
            throw SourceError(where + ": more than 255 events");
        }
        if (word.front() != '+' && word.front() != '-') {
            throw SourceError(where + ": an event starts with + (press) or - (release)");
        }
        const uint8_t action = word.front() == '+' ? kActionPress : kActionRelease;
        word.remove_prefix(1);
        uint16_t delay = kDefaultDelay;
        // The delay follows the last '/', so keys named with a '/' ("/?") still parse.
        if (const auto slash = word.rfind('/'); slash != std::string_view::npos && slash > 0) {
            const int32_t ms = ParseWholeNumber(word.substr(slash + 1), where);
            if (ms < 0 || ms > 65535) {
                throw SourceError(where + ": a delay is 0..65535 ms");
            }
            delay = static_cast<uint16_t>(ms);
            word = word.substr(0, slash);
        }
        const auto key = KeyNamed(word);
        if (!key) {
            throw SourceError(where + ": no key is named '" + std::string(word) + "'");
        }
        slot.events[count] = {*key, action};
        slot.SetDelay(count, delay);
        ++count;
    }
    slot.eventCount = static_cast<uint8_t>(count);
}

} // namespace

std::vector<MacroDefinition> ParseMacroSource(std::string_view text, const std::string& name) {
    std::vector<MacroDefinition> macros;
    ForEachSourceLine(text, name, [&](const SourceLine& line) {
        const std::string& where = line.where;
        const auto parts = SplitOn(line.text, '|');
        if (parts.size() != 4) {
            throw SourceError(where + ": expected English | Chinese | repeat | events");
        }
        MacroDefinition macro;
        for (size_t column = 0; column < kColumnLanguages.size(); ++column) {
            const size_t language = kColumnLanguages[column];
            macro.names[language] = std::string(Trim(parts[column]));
            const auto units = Utf16FromUtf8(macro.names[language]).size();
            if (units == 0 || units > kMacroNameUnits - 1) {
                throw SourceError(where + ": a macro name has 1 to 19 characters");
            }
        }
        const int32_t repeat = ParseWholeNumber(Trim(parts[2]), where);
        if (repeat < 0 || repeat > 65535) {
            throw SourceError(where + ": the repeat count is 0 (once) to 65535");
        }
        macro.slot.repeatEnabled = repeat > 0 ? 1 : 0;
        macro.slot.SetRepeatCount(static_cast<uint16_t>(repeat > 0 ? repeat : 1));
        ParseEvents(macro.slot, parts[3], where);
        macros.push_back(macro);
    });
    if (macros.size() > kUsableUserMacros) {
        throw SourceError(name + ": at most 12 macros");
    }
    return macros;
}

std::vector<MacroDefinition> LoadMacroSource(const std::filesystem::path& file) {
    return ParseMacroSource(ReadSourceFile(file), file.filename().string());
}

void WriteMacroFile(const std::vector<MacroDefinition>& macros, size_t language,
                    const std::filesystem::path& file) {
    MacroStore store;
    for (size_t i = 0; i < macros.size(); ++i) {
        store.userMacros[i] = macros[i].slot;
        store.userMacros[i].SetName(Utf16FromUtf8(macros[i].names[language]));
    }
    store.userMacroCount = static_cast<int16_t>(macros.size());
    std::filesystem::create_directories(file.parent_path());
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    if (!SaveMacroFile(file, store)) {
        throw SourceError(file.string() + ": cannot be written");
    }
    std::filesystem::permissions(file, kDeliveredFilePerms, std::filesystem::perm_options::replace);
}

} // namespace xk::skingen
