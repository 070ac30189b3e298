#pragma once

#include "macro/Clock.h"
#include "macro/MacroPage.h"

#include <cstdint>

namespace xk {

inline constexpr int32_t kMaxRecordedEvents = 216;
inline constexpr int32_t kMaxRecordedPresses = 108;
static_assert(2 * kMaxRecordedPresses <= kMaxRecordedEvents, "each press has room for its release");

// Starts or stops recording into the macro selected in macroList.
void ToggleRecording(MacroPage& page);
// Stops a running recording, as the toggle does; nothing when none runs. Keys still held get
// their releases.
void StopRecording(MacroPage& page);

enum class KeyRecord {
    Recorded, // a new event
    Skipped,  // a repeat: the last key message again or a press of a held key; the event limit
    Refused,  // a key without a row in the key table, a press over the limits (a press needs
              // room for its release too) or a release without a recorded press
};
// One key message while recording: message id, virtual-key code (0 for a key without one) and
// the key's keycode (0 when not known). A release matches its press by keycode and is recorded
// as the virtual key of that press.
KeyRecord RecordKeyMessage(MacroPage& page, uint32_t message, uint32_t virtualKey,
                           uint32_t keycode = 0);

// Milliseconds since its previous call (0..65535); crossing midnight counts the true interval.
int32_t ElapsedSinceLastEvent(RecordingState& recorder, const Clock& clock);

} // namespace xk
