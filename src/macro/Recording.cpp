#include "macro/Recording.h"

#include "macro/EventList.h"
#include "macro/KeyCodes.h"
#include "macro/PreTranslate.h"

#include <algorithm>
#include <mutex>

namespace xk {

namespace {

constexpr uint16_t kLastEventDelay = 30;

void StartRecording(MacroPage& page, int32_t macro) {
    auto& recorder = page.recorder;
    auto& store = page.store;
    recorder.recording = true;
    recorder.heldKeyCount = 0;
    recorder.heldKeys.fill(0);
    if (!recorder.keyboardGrabbed) {
        recorder.keyboardGrabbed = page.keyboard.GrabKeyboard();
    }
    recorder.recordingMacro = macro;
    recorder.recordedCount = 0;
    page.eventList.pressLineCount = 0;
    page.eventList.releaseLineCount = 0;
    {
        // The slot starts blank but for its name: play once, no events.
        const std::lock_guard lock(store.mutex);
        MacroSlot& slot = store.userMacros[static_cast<size_t>(macro)];
        const std::u16string name = slot.Name();
        slot = MacroSlot{};
        slot.SetName(name);
        slot.repeatEnabled = 0;
        slot.SetRepeatCount(1);
    }
    store.currentMacro = macro;
    page.controls.SetRepeatCountText(u"1");
    page.controls.SetRepeatCountEnabled(false);
    ClearEventLines(page);
}

bool IsHeld(const RecordingState& recorder, uint8_t virtualKey) {
    const auto held = recorder.heldKeys.begin();
    return std::find(held, held + recorder.heldKeyCount, virtualKey) !=
           held + recorder.heldKeyCount;
}

// Removes a released key from the held keys; false when its press was not recorded.
bool ReleaseHeldKey(RecordingState& recorder, uint8_t virtualKey) {
    const auto held = recorder.heldKeys.begin();
    const auto end = held + recorder.heldKeyCount;
    const auto found = std::find(held, end, virtualKey);
    if (found == end) {
        return false;
    }
    std::copy(found + 1, end, found);
    *(end - 1) = 0;
    --recorder.heldKeyCount;
    return true;
}

} // namespace

void ToggleRecording(MacroPage& page) {
    page.controls.FocusEventList();
    // A running recording always stops, even when the list has lost its lines: the keyboard
    // is never left captured.
    if (page.recorder.recording) {
        StopRecording(page);
        return;
    }
    if (page.controls.MacroLineCount() == 0) {
        return;
    }
    const int selected = page.controls.SelectedMacroLine();
    const int32_t macro = selected >= 0 ? selected : 0;
    // The list and the store agree unless the store changed behind the list's back.
    if (!page.store.IsUserMacro(macro)) {
        return;
    }
    StartRecording(page, macro);
}

void StopRecording(MacroPage& page) {
    auto& recorder = page.recorder;
    if (!recorder.recording) {
        return;
    }
    recorder.recording = false;
    {
        const std::lock_guard lock(page.store.mutex);
        page.store.userMacros[static_cast<size_t>(recorder.recordingMacro)].eventCount =
            static_cast<uint8_t>(recorder.recordedCount);
    }
    if (recorder.keyboardGrabbed) {
        page.keyboard.ReleaseKeyboard();
        recorder.keyboardGrabbed = false;
    }
}

KeyRecord RecordKeyMessage(MacroPage& page, uint32_t message, uint32_t virtualKey) {
    auto& recorder = page.recorder;
    if (!recorder.recording || !IsKeyMessage(message) || virtualKey > 0xFF) {
        return KeyRecord::Skipped;
    }
    const auto key = static_cast<uint8_t>(virtualKey);
    // The mouse would play a key without a row as whatever usage ID the number happens to be.
    if (!HasVirtualKeyRow(key)) {
        return KeyRecord::Refused;
    }
    KeyRecord result = KeyRecord::Skipped;
    // A held key is one press however long it is held, whatever else is typed meanwhile.
    const bool repeat =
        (message == recorder.lastKeyMessage && virtualKey == recorder.lastKeyCode) ||
        (IsKeyDownMessage(message) && IsHeld(recorder, key));
    if (!repeat && recorder.recordedCount < kMaxRecordedEvents) {
        uint8_t action = kActionPress;
        if (IsKeyDownMessage(message)) {
            if (page.eventList.pressLineCount >= kMaxRecordedPresses ||
                recorder.heldKeyCount >= kMaxHeldKeys) {
                return KeyRecord::Refused;
            }
            recorder.heldKeys[static_cast<size_t>(recorder.heldKeyCount++)] = key;
        } else {
            if (!ReleaseHeldKey(recorder, key)) {
                return KeyRecord::Refused;
            }
            action = kActionRelease;
        }
        const int32_t k = recorder.recordedCount;
        const auto elapsed = static_cast<uint16_t>(ElapsedSinceLastEvent(recorder, page.clock));
        {
            const std::lock_guard lock(page.store.mutex);
            MacroSlot& slot = page.store.userMacros[static_cast<size_t>(recorder.recordingMacro)];
            slot.events[static_cast<size_t>(k)] = {KeyFromVirtualKey(key), action};
            if (k > 0) {
                slot.SetDelay(static_cast<size_t>(k - 1), elapsed);
                slot.SetDelay(static_cast<size_t>(k), kLastEventDelay);
            }
        }
        AddEventLines(page, recorder.recordingMacro, k);
        recorder.recordedCount = k + 1;
        result = KeyRecord::Recorded;
    }
    recorder.lastKeyMessage = message;
    recorder.lastKeyCode = virtualKey;
    return result;
}

int32_t ElapsedSinceLastEvent(RecordingState& recorder, const Clock& clock) {
    const int32_t now = clock.MillisecondsSinceMidnightUtc();
    int64_t elapsed = int64_t{now} - recorder.lastEventTime;
    recorder.lastEventTime = now;
    if (elapsed < 0) {
        elapsed += kMillisecondsPerDay; // midnight passed
    }
    return static_cast<int32_t>(std::clamp<int64_t>(elapsed, 0, 65535));
}

} // namespace xk
