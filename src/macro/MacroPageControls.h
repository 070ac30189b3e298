#pragma once

#include <string>
#include <string_view>

namespace xk {

// The four standard controls of the macro page and the main window, as the macro operations
// use them. The window layer implements it with widgets; the object exists for the program's
// life and behaves as empty controls while the page's widgets do not exist.
//
// Lines are numbered from 0; -1 means no line. Selecting a line through this interface never
// notifies anyone: only a selection the user makes in macroList runs SelectMacro.
class MacroPageControls {
public:
    virtual ~MacroPageControls() = default;

    // macroList: one line per user macro.
    virtual int MacroLineCount() const = 0;
    virtual std::u16string MacroLine(int line) const = 0;
    virtual void AddMacroLine(std::u16string_view text) = 0;
    virtual void DeleteMacroLine(int line) = 0;
    virtual void ClearMacroList() = 0;
    virtual int SelectedMacroLine() const = 0;
    // A line outside the list clears the selection.
    virtual void SelectMacroLine(int line) = 0;
    virtual void FocusMacroList() = 0;

    // macroNameEdit.
    virtual std::u16string MacroNameText() const = 0;
    virtual void SetMacroNameText(std::u16string_view text) = 0;

    // repeatCountEdit.
    virtual std::u16string RepeatCountText() const = 0;
    virtual void SetRepeatCountText(std::u16string_view text) = 0;
    virtual void SetRepeatCountEnabled(bool enabled) = 0;

    // eventList: the editable list box of key and delay lines.
    virtual int EventLineCount() const = 0;
    virtual std::u16string EventLine(int line) const = 0;
    virtual void AddEventLine(std::u16string_view text) = 0;
    virtual void ClearEventList() = 0;
    virtual int SelectedEventLine() const = 0;
    // A line outside the list clears the selection.
    virtual void SelectEventLine(int line) = 0;
    virtual void FocusEventList() = 0;
    // Opens the in-place edit over the selected line with its text, all of it selected; nothing
    // opens when no line is selected (false). Every close of the edit (committed or cancelled)
    // must call ApplyEditedDelay, after a committed text has replaced the line.
    virtual bool EditSelectedEventLine() = 0;
    // Closes an open in-place edit without taking its text; nothing when none is open.
    virtual void DiscardEventLineEdit() = 0;

    // Invalidates the whole main window so that it repaints.
    virtual void RepaintWindow() = 0;
};

} // namespace xk
