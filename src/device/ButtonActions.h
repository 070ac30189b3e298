#pragma once

#include "device/ExecutorFlags.h"
#include "device/FeatureReports.h"
#include "device/Launcher.h"
#include "device/StopSignal.h"
#include "device/UploadSettings.h"
#include "macro/MacroStore.h"
#include "settings/Settings.h"

#include <chrono>
#include <cstdint>

namespace xk {

inline constexpr auto kMinimumEventDelay = std::chrono::milliseconds(15);
// How late a macro event may be sent before the events after it are timed from its send.
inline constexpr auto kScheduleSlack = std::chrono::milliseconds(2);
inline constexpr int kHeldMacroPasses = 10000;

// What the computer does for one reported button event: follow the DPI level or the report
// rate, play a macro, send a consumer key or start a program. Runs on the executor thread.
class ButtonActions {
public:
    ButtonActions(Settings& settings, const MacroStore& macros, FeatureReports& reports,
                  Launcher& launcher, const ExecutorFlags& flags, const StopSignal& shutdown,
                  RepaintRequest repaint);

    // The event taken by the listener: byte 1 and byte 2 of the report.
    void Handle(uint8_t eventCode, uint8_t eventData);

    // Plays `passes` passes of a copy of a slot: each event then its delay (at least 15 ms),
    // ReleaseAll after each pass, ending after the pass in which a stop was requested. The
    // shutdown cuts the pass short; its ReleaseAll still runs, so no key stays held.
    void PlayMacro(const MacroSlot& slot, int passes);

private:
    void Repaint() const;

    Settings& settings_;
    const MacroStore& macros_;
    FeatureReports& reports_;
    Launcher& launcher_;
    const ExecutorFlags& flags_;
    const StopSignal& shutdown_;
    RepaintRequest repaint_;
};

} // namespace xk
