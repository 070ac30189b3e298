#include "macro/EventList.h"

#include "macro/KeyCodes.h"
#include "settings/Decimal.h"
#include "settings/TextCodec.h"

#include <algorithm>
#include <mutex>
#include <string>

namespace xk {

namespace {

constexpr int32_t kMaxEditableEvents = 254;
constexpr uint16_t kInsertedEventDelay = 30;
constexpr int32_t kMaxDelay = 65535;
constexpr const char* kOverflowMessage = "Overflow!!!";

bool IsSlot(int32_t macro) {
    return macro >= 0 && macro < kMacroSlotCount;
}

MacroSlot& Slot(MacroPage& page, int32_t macro) {
    return page.store.userMacros[static_cast<size_t>(macro)];
}

// The context menu's commands act on an existing user macro and never during a recording.
bool CommandsAllowed(const MacroPage& page) {
    return !page.recorder.recording && page.store.IsUserMacro(page.eventList.menuMacro);
}

// The events of a macro so far: a macro being recorded has those recorded until now.
int32_t EventsSoFar(const MacroPage& page, int32_t macro) {
    const auto& recorder = page.recorder;
    if (recorder.recording && macro == recorder.recordingMacro) {
        return recorder.recordedCount;
    }
    return page.store.userMacros[static_cast<size_t>(macro)].eventCount;
}

} // namespace

std::u16string KeyLineText(const MacroSlot::Event& event) {
    const std::u16string name = Utf16FromUtf8(KeyName(event.keyCode));
    if (event.action == kActionPress) {
        return u"[↓]" + name;
    }
    if (event.action == kActionRelease) {
        return u"[↑]" + name;
    }
    return name;
}

std::u16string DelayLineText(uint16_t delay) {
    return u"    " + Utf16FromUtf8(std::to_string(delay)) + u"ms";
}

void ClearEventLines(MacroPage& page) {
    // An edit over a line goes with the lines.
    DiscardDelayEdit(page);
    page.eventList.pressLineCount = 0;
    page.eventList.releaseLineCount = 0;
    page.controls.ClearEventList();
}

void RebuildEventList(MacroPage& page, int32_t macro) {
    ClearEventLines(page);
    if (!IsSlot(macro)) {
        return;
    }
    const MacroSlot& slot = Slot(page, macro);
    const int32_t events = EventsSoFar(page, macro);
    if (events == 0) {
        return;
    }
    for (int32_t k = 0; k < events; ++k) {
        AddEventLines(page, macro, k);
    }
    if (slot.repeatEnabled == 1) {
        page.controls.SetRepeatCountText(Utf16FromUtf8(std::to_string(slot.RepeatCount())));
        page.controls.SetRepeatCountEnabled(true);
    } else {
        page.controls.SetRepeatCountText(u"1");
        page.controls.SetRepeatCountEnabled(false);
    }
}

void AddEventLines(MacroPage& page, int32_t macro, int32_t event) {
    if (!IsSlot(macro) || event < 0 || event >= kMacroEventCapacity) {
        return;
    }
    const MacroSlot& slot = Slot(page, macro);
    const auto k = static_cast<size_t>(event);
    if (k > 0) {
        page.controls.AddEventLine(DelayLineText(slot.Delay(k - 1)));
    }
    page.controls.AddEventLine(KeyLineText(slot.events[k]));
    if (slot.events[k].action == kActionPress) {
        ++page.eventList.pressLineCount;
    } else if (slot.events[k].action == kActionRelease) {
        ++page.eventList.releaseLineCount;
    }
    page.controls.RepaintWindow();
    page.controls.SelectEventLine(page.recorder.recording ? page.controls.EventLineCount() - 1
                                                          : page.eventList.selectedLine);
}

bool OpenEventMenu(MacroPage& page, const EventMenuClick& click) {
    if (page.recorder.recording) {
        return false;
    }
    auto& state = page.eventList;
    int64_t line = 0;
    if (click.lineHeight != 0) {
        line = (int64_t{click.lineHeight} * click.topLine + click.pointerY - click.top) /
               click.lineHeight;
    }
    state.selectedLine = static_cast<int32_t>(std::clamp<int64_t>(line, INT32_MIN, INT32_MAX));
    page.controls.SelectEventLine(state.selectedLine);
    state.menuLineCount = page.controls.EventLineCount();

    const bool inside = click.pointerX >= click.left && click.pointerX < click.right &&
                        click.pointerY >= click.top && click.pointerY < click.bottom;
    const bool show =
        inside && (state.selectedLine < state.menuLineCount || state.menuLineCount == 0);

    state.menuMacro = std::min(page.controls.SelectedMacroLine(), kUsableUserMacros - 1);
    const int selectedEvent = page.controls.SelectedEventLine();
    state.menuEvent = selectedEvent >= 0 ? selectedEvent / 2 : 0;
    return show;
}

bool InsertEvent(MacroPage& page, int32_t macro, int32_t position, uint8_t key, uint8_t action) {
    if (!IsSlot(macro)) {
        return false;
    }
    MacroSlot& slot = Slot(page, macro);
    const int32_t n = slot.eventCount;
    if (n + 1 > kMaxEditableEvents) {
        page.messages.ShowMessage(kOverflowMessage);
        return false;
    }
    // A position behind the events appends, so that no unset event comes into use.
    const auto at = static_cast<size_t>(std::clamp(position, 0, n));
    {
        const std::lock_guard lock(page.store.mutex);
        slot.eventCount = static_cast<uint8_t>(n + 1);
        for (auto k = static_cast<size_t>(n); k > at; --k) {
            slot.events[k] = slot.events[k - 1];
            slot.delays[k] = slot.delays[k - 1];
        }
        slot.events[at] = {key, action};
        slot.SetDelay(at, kInsertedEventDelay);
    }
    page.eventList.selectedLine += 2;
    return true;
}

void InsertEventBefore(MacroPage& page, uint8_t key, uint8_t action) {
    if (!CommandsAllowed(page)) {
        return;
    }
    const int32_t macro = page.eventList.menuMacro;
    InsertEvent(page, macro, page.eventList.menuEvent, key, action);
    RebuildEventList(page, macro);
}

void InsertEventAfter(MacroPage& page, uint8_t key, uint8_t action) {
    if (!CommandsAllowed(page)) {
        return;
    }
    const int32_t macro = page.eventList.menuMacro;
    if (page.controls.EventLineCount() > 0) {
        InsertEvent(page, macro, page.eventList.menuEvent + 1, key, action);
    } else {
        InsertEvent(page, macro, 0, key, action);
        page.eventList.selectedLine = 0;
    }
    RebuildEventList(page, macro);
}

void DeleteEvent(MacroPage& page) {
    if (!CommandsAllowed(page)) {
        return;
    }
    auto& state = page.eventList;
    MacroSlot& slot = Slot(page, state.menuMacro);
    // Only an event the macro holds is deleted.
    if (state.menuEvent >= 0 && state.menuEvent < slot.eventCount) {
        const std::lock_guard lock(page.store.mutex);
        const auto n = static_cast<size_t>(slot.eventCount - 1);
        for (auto k = static_cast<size_t>(state.menuEvent); k < n; ++k) {
            slot.events[k] = slot.events[k + 1];
            slot.delays[k] = slot.delays[k + 1];
        }
        slot.eventCount = static_cast<uint8_t>(n);
    }
    state.selectedLine = state.selectedLine > 2 ? state.selectedLine - 2 : 0;
    RebuildEventList(page, state.menuMacro);
}

void ModifyDelay(MacroPage& page) {
    auto& state = page.eventList;
    if (!CommandsAllowed(page) || state.menuLineCount == 0) {
        return;
    }
    // Only the delay line of the menu's event, in the macro on show, opens the edit.
    const int32_t line = 2 * state.menuEvent + 1;
    if (state.selectedLine != line || page.controls.SelectedEventLine() != line ||
        state.menuMacro != page.store.currentMacro ||
        state.menuEvent + 1 >= Slot(page, state.menuMacro).eventCount) {
        return;
    }
    DiscardDelayEdit(page); // one edit at a time
    state.editMacro = state.menuMacro;
    state.editEvent = state.menuEvent;
    if (!page.controls.EditSelectedEventLine()) {
        state.editMacro = -1;
    }
}

void ApplyEditedDelay(MacroPage& page) {
    auto& state = page.eventList;
    const int32_t macro = state.editMacro;
    const int32_t event = state.editEvent;
    state.editMacro = -1; // the close is taken once
    if (macro < 0 || page.recorder.recording || !page.store.IsUserMacro(macro) ||
        macro != page.store.currentMacro) {
        return;
    }
    MacroSlot& slot = Slot(page, macro);
    const int32_t line = 2 * event + 1;
    if (event + 1 < slot.eventCount && line < page.controls.EventLineCount()) {
        std::string text = Utf8FromUtf16(page.controls.EventLine(line));
        if (const size_t ms = text.find("ms"); ms != std::string::npos) {
            text.resize(ms);
        }
        // A negative number stores 0, a number above 65535 stores 65535.
        const int32_t value = std::clamp(ParseDecimal(text), 0, kMaxDelay);
        const std::lock_guard lock(page.store.mutex);
        slot.SetDelay(static_cast<size_t>(event), static_cast<uint16_t>(value));
    }
    RebuildEventList(page, macro);
}

void DiscardDelayEdit(MacroPage& page) {
    page.eventList.editMacro = -1;
    page.controls.DiscardEventLineEdit();
}

} // namespace xk
