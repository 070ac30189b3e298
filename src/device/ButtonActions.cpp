#include "device/ButtonActions.h"

#include "device/MouseProtocol.h"
#include "settings/FunctionCode.h"
#include "settings/SettingsIo.h"

#include <algorithm>
#include <utility>

namespace xk {

namespace {

constexpr uint8_t kLastReportRate = 3;

} // namespace

ButtonActions::ButtonActions(Settings& settings, const MacroStore& macros, FeatureReports& reports,
                             Launcher& launcher, const ExecutorFlags& flags,
                             const StopSignal& shutdown, RepaintRequest repaint)
    : settings_(settings), macros_(macros), reports_(reports), launcher_(launcher), flags_(flags),
      shutdown_(shutdown), repaint_(std::move(repaint)) {}

void ButtonActions::Repaint() const {
    if (repaint_) {
        repaint_();
    }
}

void ButtonActions::Handle(uint8_t eventCode, uint8_t eventData) {
    for (size_t i = 0; i < kButtonCount; ++i) {
        if (kButtonEventBase + kDeviceButtonNumber[i] != eventCode) {
            continue;
        }
        if (settings_.dpiFollow[i].load() != 0) {
            settings_.dpiLevel.store(eventData);
            Repaint();
            SaveDpiLevel(settings_, settings_.configPath, settings_.currentConfig.load());
        }
        if (settings_.rateFollow[i].load() != 0) {
            const uint8_t rate = settings_.reportRate.load();
            settings_.reportRate.store(rate == kLastReportRate ? 0
                                                               : static_cast<uint8_t>(rate + 1));
            Repaint();
            SaveReportRate(settings_, settings_.configPath, settings_.currentConfig.load());
        }
        const int32_t code = settings_.buttonFunction[i].load();
        switch (PcActionOf(code)) {
        case PcAction::UserMacro: {
            const MacroSlot slot =
                macros_.CopyUserMacro(static_cast<size_t>(code - kFirstUserMacroCode));
            int passes = kHeldMacroPasses;
            if (settings_.macroMode.load() == 0) {
                passes = slot.repeatEnabled == 0 ? 1 : slot.RepeatCount();
            }
            PlayMacro(slot, passes);
            break;
        }
        case PcAction::ConstMacro:
            PlayMacro(macros_.CopyConstMacro(static_cast<size_t>(code - kFirstConstMacroCode)), 1);
            break;
        case PcAction::ConsumerKey:
            reports_.SendConsumerKey(code);
            break;
        case PcAction::Calculator:
            launcher_.Launch(LaunchTarget::Calculator);
            break;
        case PcAction::Terminal:
            launcher_.Launch(LaunchTarget::Terminal);
            break;
        case PcAction::FollowDpi:
        case PcAction::StepReportRate:
        case PcAction::None:
            break;
        }
        return; // the button numbers are distinct
    }
}

void ButtonActions::PlayMacro(const MacroSlot& slot, int passes) {
    const size_t events = std::min<size_t>(slot.eventCount, slot.events.size());
    using Clock = std::chrono::steady_clock;
    for (int pass = 0; pass < passes; ++pass) {
        // Each event is due at the previous one's due time plus its delay, so the time a send
        // takes and a late wake-up do not add up over the macro. An event that starts much
        // later than due (the machine was busy) times the rest from its start, so no delay is
        // cut short by more than kScheduleSlack.
        Clock::time_point due = Clock::now();
        for (size_t k = 0; k < events; ++k) {
            const Clock::time_point start = Clock::now();
            if (start - due > kScheduleSlack) {
                due = start;
            }
            reports_.SendKeyEvent(slot.events[k].keyCode, slot.events[k].action);
            due += std::max<std::chrono::milliseconds>(std::chrono::milliseconds(slot.Delay(k)),
                                                       kMinimumEventDelay);
            if (!shutdown_.SleepUntil(due)) {
                break; // the program ends: let go of what the pass holds
            }
        }
        reports_.ReleaseAll();
        if (shutdown_.raised() || flags_.stopRequested.load()) {
            return;
        }
    }
}

} // namespace xk
