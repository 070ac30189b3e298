#pragma once

#include "macro/MacroPage.h"
#include "support/fakes/FakeClock.h"
#include "support/fakes/FakeKeyboardGrab.h"
#include "support/fakes/RecordingMessages.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace xk::test {

// Plain list boxes and edits: selecting a line outside a list clears its selection, deleting
// the selected line leaves none.
class FakeControls : public MacroPageControls {
public:
    std::vector<std::u16string> macroLines;
    int macroSelection = -1;
    std::u16string macroName;
    std::u16string repeatCount;
    bool repeatCountEnabled = true;
    std::vector<std::u16string> eventLines;
    int eventSelection = -1;
    int editedLine = -1; // the line the in-place edit was opened over
    int repaints = 0;

    int MacroLineCount() const override { return static_cast<int>(macroLines.size()); }
    std::u16string MacroLine(int line) const override { return At(macroLines, line); }
    void AddMacroLine(std::u16string_view text) override { macroLines.emplace_back(text); }
    void DeleteMacroLine(int line) override { Delete(macroLines, macroSelection, line); }
    void ClearMacroList() override {
        macroLines.clear();
        macroSelection = -1;
    }
    int SelectedMacroLine() const override { return macroSelection; }
    void SelectMacroLine(int line) override { macroSelection = InRange(macroLines, line); }
    void FocusMacroList() override {}

    std::u16string MacroNameText() const override { return macroName; }
    void SetMacroNameText(std::u16string_view text) override { macroName = text; }

    std::u16string RepeatCountText() const override { return repeatCount; }
    void SetRepeatCountText(std::u16string_view text) override { repeatCount = text; }
    void SetRepeatCountEnabled(bool enabled) override { repeatCountEnabled = enabled; }

    int EventLineCount() const override { return static_cast<int>(eventLines.size()); }
    std::u16string EventLine(int line) const override { return At(eventLines, line); }
    void AddEventLine(std::u16string_view text) override { eventLines.emplace_back(text); }
    void ClearEventList() override {
        eventLines.clear();
        eventSelection = -1;
    }
    int SelectedEventLine() const override { return eventSelection; }
    void SelectEventLine(int line) override { eventSelection = InRange(eventLines, line); }
    void FocusEventList() override {}
    bool EditSelectedEventLine() override {
        editedLine = eventSelection;
        return editedLine >= 0;
    }
    void DiscardEventLineEdit() override { editedLine = -1; }

    void RepaintWindow() override { ++repaints; }

private:
    static std::u16string At(const std::vector<std::u16string>& lines, int line) {
        return line >= 0 && line < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(line)]
                                                                  : std::u16string();
    }
    static int InRange(const std::vector<std::u16string>& lines, int line) {
        return line >= 0 && line < static_cast<int>(lines.size()) ? line : -1;
    }
    static void Delete(std::vector<std::u16string>& lines, int& selection, int line) {
        if (line < 0 || line >= static_cast<int>(lines.size())) {
            return;
        }
        lines.erase(lines.begin() + line);
        selection = selection == line ? -1 : (selection > line ? selection - 1 : selection);
    }
};

struct TestEvent {
    uint8_t keyCode;
    uint8_t action;
    uint16_t delay;
};

// Appends a user macro to the store.
inline MacroSlot& AddUserMacro(MacroStore& store, std::u16string_view name,
                               std::initializer_list<TestEvent> events = {}) {
    MacroSlot& slot = store.userMacros[static_cast<size_t>(store.userMacroCount++)];
    slot = MacroSlot{};
    slot.SetName(name);
    slot.SetRepeatCount(1);
    for (const TestEvent& e : events) {
        slot.events[slot.eventCount] = {e.keyCode, e.action};
        slot.SetDelay(slot.eventCount++, e.delay);
    }
    return slot;
}

// A macro page over fake controls.
struct FakeMacroPage {
    MacroStore store;
    FakeControls controls;
    RecordingMessages messages;
    FakeClock clock;
    FakeKeyboardGrab keyboard;
    MacroPage page{store, controls, messages, clock, keyboard};
};

} // namespace xk::test
