#pragma once

#include "macro/Clock.h"
#include "macro/MacroPage.h"

#include <cstdint>

namespace xk {

inline constexpr int32_t kMaxRecordedEvents = 216;
inline constexpr int32_t kMaxRecordedPresses = 108;

// Starts or stops recording into the macro selected in macroList.
void ToggleRecording(MacroPage& page);
// Stops a running recording, as the toggle does; nothing when none runs.
void StopRecording(MacroPage& page);

enum class KeyRecord {
    Recorded, // a new event
    Skipped,  // a repeat: the last key message again or a press of a held key; the event limit
    Refused,  // a key without a row in the key table, a press over the limits or a release
              // without a recorded press
};
// One key message while recording: message id and virtual-key code.
KeyRecord RecordKeyMessage(MacroPage& page, uint32_t message, uint32_t virtualKey);

// Milliseconds since its previous call (0..65535); crossing midnight counts the true interval.
int32_t ElapsedSinceLastEvent(RecordingState& recorder, const Clock& clock);

} // namespace xk
