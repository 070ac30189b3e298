#pragma once

#include "macro/MacroPage.h"
#include "macro/MacroSlot.h"

#include <cstdint>
#include <string>

namespace xk {

// The lines of eventList: line 2k is the key line of event k, line 2k + 1 the delay line
// between events k and k + 1.
std::u16string KeyLineText(const MacroSlot::Event& event); // "[↓]A", "[↑]A" or the name
std::u16string DelayLineText(uint16_t delay);              // "    120ms"

// Empties eventList and its press and release counts; an open delay edit closes unwritten.
void ClearEventLines(MacroPage& page);
// Refills eventList from user macro `macro` (the events recorded so far while it is being
// recorded) and sets repeatCountEdit.
void RebuildEventList(MacroPage& page, int32_t macro);
// Appends the lines of one event.
void AddEventLines(MacroPage& page, int32_t macro, int32_t event);

// A right-button release on the macro page: eventList's client rectangle in screen
// coordinates, its first visible line, its line height and the pointer in screen coordinates.
struct EventMenuClick {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t topLine = 0;
    int32_t lineHeight = 0;
    int32_t pointerX = 0;
    int32_t pointerY = 0;
};
// Selects the line under the pointer and records what the menu's commands act on. True when
// the context menu is to be shown at the pointer.
bool OpenEventMenu(MacroPage& page, const EventMenuClick& click);

// Inserts an event with a delay of 30 ms at `position`; "Overflow!!!" when the macro already
// holds 254 events. False when nothing was inserted.
bool InsertEvent(MacroPage& page, int32_t macro, int32_t position, uint8_t key, uint8_t action);
// Context menu commands (see EventCommands.h).
void InsertEventBefore(MacroPage& page, uint8_t key, uint8_t action);
void InsertEventAfter(MacroPage& page, uint8_t key, uint8_t action);
void DeleteEvent(MacroPage& page);
void ModifyDelay(MacroPage& page);
// The in-place edit of eventList closed: the delay edit takes the text of its line into the
// macro and event it was opened on (0..65535), when that macro is still the one on show; then
// the list is rebuilt. Nothing for a close of any other edit or a second notice of one close.
void ApplyEditedDelay(MacroPage& page);
// Closes an open delay edit without writing anything: the lines it edits are going away (the
// list is cleared or refilled, the macros are replaced).
void DiscardDelayEdit(MacroPage& page);

} // namespace xk
