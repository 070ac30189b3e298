#include "macro/MacroFile.h"

#include "macro/MacroValue.h"
#include "settings/Decimal.h"
#include "settings/IniFile.h"
#include "settings/Language.h"
#include "settings/SmallFile.h"
#include "settings/TextCodec.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>

namespace xk {

std::filesystem::path MacroFilePathFor(const std::filesystem::path& personFolder,
                                       int32_t language) {
    return personFolder / (IsEnglish(language) ? "Macro_EN.dat" : "Macro_CN.dat");
}

void RemoveSaveLeftovers(const std::filesystem::path& personFolder) {
    RemoveLeftoverTemporaries(personFolder / "config.ini");
    RemoveLeftoverTemporaries(MacroFilePathFor(personFolder, kLanguageEnglish));
    RemoveLeftoverTemporaries(MacroFilePathFor(personFolder, kLanguageChinese));
}

std::filesystem::path DefaultMacroFilePath(const std::filesystem::path& skinsDir,
                                           int32_t language) {
    return skinsDir / (IsEnglish(language) ? "INI_EN" : "INI_CN") / "defMacro.dat";
}

void ReadMacros(const IniDocument& doc, MacroStore& store, MacroTarget target) {
    // The count is read as its first two characters; the store has 12 usable slots.
    const std::string countText =
        TruncateUtf16Units(doc.Get(kMacroSection, kMacroCountKey).value_or(""), 2);
    const int32_t count = std::clamp(ParseDecimal(countText), 0, kUsableUserMacros);

    auto& slots = target == MacroTarget::User ? store.userMacros : store.constMacros;
    const std::lock_guard lock(store.mutex);
    for (int32_t i = 0; i < count; ++i) {
        const auto value = doc.Get(kMacroSection, std::to_string(i));
        slots[static_cast<size_t>(i)] = DecodeMacroValue(value.value_or(""));
    }
    if (target == MacroTarget::User) {
        store.userMacroCount = static_cast<int16_t>(count);
        store.currentMacro = count >= 1 ? count - 1 : 0;
    } else {
        store.constMacroCount = static_cast<int16_t>(count);
    }
}

bool LoadMacroFile(const std::filesystem::path& path, MacroStore& store, MacroTarget target,
                   UserMessages& messages) {
    const SmallFileRead read = LoadSmallIniDocument(path);
    if (read.problem == SmallFileProblem::TooLarge) {
        messages.ShowMessage(path.string() +
                             "\nis larger than 1 MiB, too large for a macro file.\n" +
                             "大于 1 MiB，不是宏文件。");
    } else if (!read.doc) {
        messages.ShowMessage(kMissingMacroFileMessage);
    }
    ReadMacros(read.doc.value_or(IniDocument{}), store, target);
    return read.doc.has_value();
}

namespace {

// Key and value of every entry a save writes: the count, then one value per user macro.
template <typename SetEntry> void ForEachMacroEntry(const MacroStore& store, SetEntry set) {
    const int32_t count = std::clamp<int32_t>(store.userMacroCount, 0, kUsableUserMacros);
    set(kMacroCountKey, std::to_string(count));
    for (int32_t i = 0; i < count; ++i) {
        set(std::to_string(i), EncodeMacroValue(store.userMacros[static_cast<size_t>(i)]));
    }
}

} // namespace

void WriteMacros(const MacroStore& store, IniDocument& doc) {
    ForEachMacroEntry(store, [&doc](std::string_view key, std::string_view value) {
        doc.Set(kMacroSection, key, value);
    });
}

bool SaveMacroFile(const std::filesystem::path& path, const MacroStore& store) {
    IniBatch batch(path);
    ForEachMacroEntry(store, [&batch](std::string_view key, std::string_view value) {
        batch.Set(kMacroSection, key, value);
    });
    return batch.Commit();
}

bool SaveMacrosOf(const IniDocument& doc, const std::filesystem::path& path) {
    const auto incoming = std::make_unique<MacroStore>();
    ReadMacros(doc, *incoming, MacroTarget::User);
    return SaveMacroFile(path, *incoming);
}

} // namespace xk
