#include "macro/MacroList.h"

#include "macro/EventList.h"
#include "macro/MacroFile.h"
#include "macro/MacroFileCheck.h"
#include "macro/Recording.h"
#include "settings/Decimal.h"
#include "settings/TextCodec.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

namespace xk {

namespace {

constexpr int32_t kMaxRepeatCount = 65535;

// A typed name as the slot can hold it: up to a NUL, at most 19 code units, never ending in
// half of a surrogate pair.
std::u16string_view StorableName(std::u16string_view text) {
    text = text.substr(0, text.find(u'\0'));
    constexpr size_t kMaxUnits = kMacroNameUnits - 1;
    if (text.size() > kMaxUnits) {
        const bool splitsPair = text[kMaxUnits - 1] >= 0xD800 && text[kMaxUnits - 1] <= 0xDBFF;
        text = text.substr(0, splitsPair ? kMaxUnits - 1 : kMaxUnits);
    }
    return text;
}

void ShowNoMacro(MacroPage& page) {
    page.controls.SetMacroNameText(u"");
    page.controls.SetRepeatCountText(u"1");
    page.controls.SetRepeatCountEnabled(false);
}

} // namespace

int32_t FindMacroByName(const MacroStore& store, std::u16string_view text) {
    const int32_t count = std::clamp<int32_t>(store.userMacroCount, 0, kUsableUserMacros);
    for (int32_t i = 0; i < count; ++i) {
        if (store.userMacros[static_cast<size_t>(i)].Name() == text) {
            return i;
        }
    }
    return store.userMacroCount;
}

void FillMacroList(MacroPage& page) {
    auto& store = page.store;
    page.controls.ClearMacroList();
    const int32_t count = std::clamp<int32_t>(store.userMacroCount, 0, kUsableUserMacros);
    for (int32_t i = 0; i < count; ++i) {
        page.controls.AddMacroLine(store.userMacros[static_cast<size_t>(i)].Name());
    }
    if (count == 0) {
        // No macro: nothing of a former macro stays on show.
        ShowNoMacro(page);
        ClearEventLines(page);
        return;
    }
    const int32_t last = std::max(page.controls.MacroLineCount() - 1, 0);
    store.currentMacro = std::clamp(store.currentMacro, 0, last);
    page.controls.SelectMacroLine(store.currentMacro);
    SelectMacro(page);
}

void SelectMacro(MacroPage& page) {
    const int line = page.controls.SelectedMacroLine();
    if (!page.store.IsUserMacro(line)) {
        return;
    }
    page.store.currentMacro = line;
    page.controls.SetMacroNameText(page.controls.MacroLine(line));
    RebuildEventList(page, line);
}

void NewMacro(MacroPage& page) {
    auto& store = page.store;
    const std::u16string typed = page.controls.MacroNameText();
    page.controls.FocusMacroList();
    if (store.userMacroCount >= kUsableUserMacros || typed.empty()) {
        return;
    }
    const std::u16string_view name = StorableName(typed);
    if (name.empty()) {
        return;
    }
    const int32_t i = FindMacroByName(store, name);
    store.currentMacro = i;
    if (i == store.userMacroCount) {
        {
            // A slot left behind by a smaller file may hold old events: a new macro has none.
            const std::lock_guard lock(store.mutex);
            MacroSlot& slot = store.userMacros[static_cast<size_t>(i)];
            slot.SetName(name);
            slot.repeatEnabled = 0;
            slot.eventCount = 0;
            ++store.userMacroCount;
        }
        ClearEventLines(page);
        page.controls.AddMacroLine(name);
        if (name.size() != typed.size()) {
            page.controls.SetMacroNameText(name);
        }
        page.controls.SelectMacroLine(i);
        return;
    }
    // An existing macro of that name is selected, with its events on show.
    page.controls.SelectMacroLine(i);
    SelectMacro(page);
}

void DeleteMacro(MacroPage& page) {
    auto& store = page.store;
    if (page.recorder.recording || page.controls.MacroLineCount() == 0) {
        return;
    }
    const int d = page.controls.SelectedMacroLine();
    if (!store.IsUserMacro(d)) {
        return;
    }
    {
        const std::lock_guard lock(store.mutex);
        const auto first = store.userMacros.begin() + d;
        const auto end = store.userMacros.begin() + store.userMacroCount;
        std::copy(first + 1, end, first);
        MacroSlot& vacated = *(end - 1);
        vacated.repeatEnabled = 0;
        vacated.SetRepeatCount(1);
        vacated.eventCount = 0;
        --store.userMacroCount;
    }
    page.controls.DeleteMacroLine(d);
    const int s = d > 0 ? d - 1 : 0;
    page.controls.SelectMacroLine(s);
    store.currentMacro = s;
    if (page.controls.MacroLineCount() == 0) {
        ShowNoMacro(page);
    } else {
        page.controls.SetMacroNameText(page.controls.MacroLine(s));
    }
    RebuildEventList(page, s);
}

void ToggleRepeat(MacroPage& page) {
    auto& store = page.store;
    if (store.currentMacro < 0 || store.currentMacro >= kUsableUserMacros) {
        return;
    }
    MacroSlot& slot = store.userMacros[static_cast<size_t>(store.currentMacro)];
    const bool enable = slot.repeatEnabled == 0;
    {
        const std::lock_guard lock(store.mutex);
        slot.repeatEnabled = enable ? 1 : 0;
    }
    if (enable) {
        page.controls.SetRepeatCountText(Utf16FromUtf8(std::to_string(slot.RepeatCount())));
    } else {
        page.controls.SetRepeatCountText(u"1");
    }
    page.controls.SetRepeatCountEnabled(enable);
    page.controls.RepaintWindow();
}

bool SaveMacros(MacroPage& page) {
    auto& store = page.store;
    const int32_t typed = ParseDecimal(Utf8FromUtf16(page.controls.RepeatCountText()));
    const int32_t count = std::clamp(typed, 1, kMaxRepeatCount);
    if (count != typed) {
        page.controls.SetRepeatCountText(Utf16FromUtf8(std::to_string(count)));
    }
    if (store.currentMacro >= 0 && store.currentMacro < kUsableUserMacros) {
        const std::lock_guard lock(store.mutex);
        store.userMacros[static_cast<size_t>(store.currentMacro)].SetRepeatCount(
            static_cast<uint16_t>(count));
    }
    return SaveMacroFile(store.macroFilePath, store);
}

void LoadUserMacros(MacroPage& page, const std::filesystem::path& path) {
    // An open delay edit names a macro and an event of the macros going away.
    DiscardDelayEdit(page);
    StopRecording(page);
    LoadMacroFile(path, page.store, MacroTarget::User, page.messages);
}

bool ImportMacros(MacroPage& page, const std::filesystem::path& path, int32_t language) {
    const MacroFileRead read = ReadMacroFileToImport(path);
    if (!read.doc) {
        page.messages.ShowMessage(MacroFileMessage(read.problem, path, language, read.fault));
        return false;
    }
    StopRecording(page);
    ReadMacros(*read.doc, page.store, MacroTarget::User);
    FillMacroList(page);
    page.controls.RepaintWindow();
    return true;
}

bool ExportMacros(MacroPage& page, const std::filesystem::path& path) {
    return SaveMacroFile(path, page.store);
}

int32_t StartSelectedLine(const MacroStore& store) {
    if (store.currentMacro < 0 || store.currentMacro >= kMacroSlotCount) {
        return 0;
    }
    const int32_t n = store.userMacros[static_cast<size_t>(store.currentMacro)].eventCount;
    return n > 0 ? 2 * n - 2 : 0;
}

} // namespace xk
