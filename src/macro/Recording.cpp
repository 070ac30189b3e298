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
    recorder.heldKeys.fill(HeldKey{});
    recorder.recordedPresses = 0;
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

// The held key that a key message names: by its keycode when that is known (so a release finds
// its press whatever the keymap now makes of the key), by its virtual key otherwise.
HeldKey* FindHeldKey(RecordingState& recorder, uint32_t keycode, uint32_t virtualKey) {
    const auto held = recorder.heldKeys.begin();
    const auto end = held + recorder.heldKeyCount;
    const auto found = std::find_if(held, end, [&](const HeldKey& h) {
        return keycode != 0 ? h.keycode == keycode : h.virtualKey == virtualKey;
    });
    return found != end ? &*found : nullptr;
}

bool IsHeldVirtualKey(const RecordingState& recorder, uint8_t virtualKey) {
    const auto held = recorder.heldKeys.begin();
    return std::any_of(held, held + recorder.heldKeyCount,
                       [&](const HeldKey& h) { return h.virtualKey == virtualKey; });
}

void RemoveHeldKey(RecordingState& recorder, const HeldKey* key) {
    const auto held = recorder.heldKeys.begin();
    const auto end = held + recorder.heldKeyCount;
    const auto at = held + (key - recorder.heldKeys.data());
    std::copy(at + 1, end, at);
    *(end - 1) = HeldKey{};
    --recorder.heldKeyCount;
}

// Writes event recordedCount of the recorded macro, with the time since the previous event as
// that event's delay, and shows it when the recorded macro is the one on show.
void AppendEvent(MacroPage& page, uint8_t virtualKey, uint8_t action, uint16_t elapsed) {
    auto& recorder = page.recorder;
    const int32_t k = recorder.recordedCount;
    {
        const std::lock_guard lock(page.store.mutex);
        MacroSlot& slot = page.store.userMacros[static_cast<size_t>(recorder.recordingMacro)];
        slot.events[static_cast<size_t>(k)] = {KeyFromVirtualKey(virtualKey), action};
        if (k > 0) {
            slot.SetDelay(static_cast<size_t>(k - 1), elapsed);
            slot.SetDelay(static_cast<size_t>(k), kLastEventDelay);
        }
    }
    recorder.recordedCount = k + 1;
    if (action == kActionPress) {
        ++recorder.recordedPresses;
    }
    if (page.store.currentMacro == recorder.recordingMacro) {
        AddEventLines(page, recorder.recordingMacro, k);
    }
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
    // Keys still held when the recording stops are released in it: a macro never leaves a
    // key down. The room for their releases was kept free.
    while (recorder.heldKeyCount > 0) {
        const uint8_t key = recorder.heldKeys[0].virtualKey;
        RemoveHeldKey(recorder, recorder.heldKeys.data());
        AppendEvent(page, key, kActionRelease, kLastEventDelay);
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

KeyRecord RecordKeyMessage(MacroPage& page, uint32_t message, uint32_t virtualKey,
                           uint32_t keycode) {
    auto& recorder = page.recorder;
    if (!recorder.recording || !IsKeyMessage(message) || virtualKey > 0xFF) {
        return KeyRecord::Skipped;
    }
    const bool press = IsKeyDownMessage(message);
    HeldKey* const held = FindHeldKey(recorder, keycode, virtualKey);
    if (!press && held != nullptr) {
        // A release is the key its press was, even when the keymap changed in between (a
        // layout switch, a keycode mapped only for a moment) and the key now means another
        // key or none.
        virtualKey = held->virtualKey;
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
        (press && (held != nullptr || IsHeldVirtualKey(recorder, key)));
    if (!repeat && recorder.recordedCount < kMaxRecordedEvents) {
        if (press) {
            // At most half the events are presses, so every held key keeps room for its
            // release, also for the one the stop gives it.
            if (recorder.recordedPresses >= kMaxRecordedPresses ||
                recorder.heldKeyCount >= kMaxHeldKeys) {
                return KeyRecord::Refused;
            }
            recorder.heldKeys[static_cast<size_t>(recorder.heldKeyCount++)] = {keycode, key};
        } else {
            if (held == nullptr) {
                return KeyRecord::Refused;
            }
            RemoveHeldKey(recorder, held);
        }
        const auto elapsed = static_cast<uint16_t>(ElapsedSinceLastEvent(recorder, page.clock));
        AppendEvent(page, key, press ? kActionPress : kActionRelease, elapsed);
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
