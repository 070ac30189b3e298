#pragma once

#include "macro/Clock.h"
#include "macro/KeyboardGrab.h"
#include "macro/MacroPageControls.h"
#include "macro/MacroStore.h"
#include "settings/UserMessages.h"

#include <array>
#include <cstdint>

namespace xk {

inline constexpr int kMaxHeldKeys = 9;

// The event list's editing state.
struct EventListState {
    int32_t pressLineCount = 0;   // press lines added since the list was last cleared
    int32_t releaseLineCount = 0; // release lines added since the list was last cleared
    int32_t selectedLine = 0;     // the line the list selects after a rebuild
    int32_t menuMacro = 0;        // the macro the context menu's commands act on; -1 for none
    int32_t menuEvent = 0;        // the event they act on
    int32_t menuLineCount = 0;    // lines of the list when the menu was opened
    // The open delay edit: the macro and event it writes into; editMacro is -1 while none is
    // open (or once it must write nothing).
    int32_t editMacro = -1;
    int32_t editEvent = 0;
};

// A key whose press was recorded and whose release has not been seen.
struct HeldKey {
    uint32_t keycode = 0;   // the key's position on the keyboard; 0 when not known
    uint8_t virtualKey = 0; // what its press was recorded as
};

// The recording state. The last key message and the last event time carry over from one
// recording to the next.
struct RecordingState {
    bool recording = false;
    int32_t recordingMacro = 0;
    int32_t recordedCount = 0;
    int32_t recordedPresses = 0;
    std::array<HeldKey, kMaxHeldKeys> heldKeys{}; // in press order
    int32_t heldKeyCount = 0;
    uint32_t lastKeyMessage = 0;
    uint32_t lastKeyCode = 0;
    int32_t lastEventTime = 0;
    bool keyboardGrabbed = false;
};

// What the macro page's operations act on. The application object owns it and the parts it
// refers to; everything here runs on the interface thread.
struct MacroPage {
    MacroStore& store;
    MacroPageControls& controls;
    UserMessages& messages;
    const Clock& clock;
    KeyboardGrab& keyboard;
    EventListState eventList{};
    RecordingState recorder{};
};

} // namespace xk
