#pragma once

#include "settings/Settings.h"
#include "ui/InterfaceState.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace xk {

// The LED preview of the light page: alternates the preview area between the colours of the
// DPI levels and dark as the mode last uploaded does. Runs on a timer of the interface thread,
// one phase per tick, and stops by itself within one phase after the light page is left, or at
// once when the window hides.
class LedPreview : public QObject {
    Q_OBJECT
public:
    LedPreview(Settings& settings, InterfaceState& ui, std::function<void()> repaint);

    // Starts the preview unless it runs.
    void StartLedPreview();
    // Stops it at once, for a window that no one sees; StartLedPreview begins it anew.
    void StopLedPreview();

    // One phase: sets the colour and dark flag and answers the wait in ms before the next
    // check; a DPI level change first shows the new colour (answered as `firstWait`).
    struct Phase {
        int firstWait = 0; // 0 or 2000: a repaint, then this wait, before the phase's own
        int wait = 0;
    };
    Phase NextPhase();

private:
    enum class Stage { Idle, Waiting, SecondHalf };
    void RunPhase();
    void Tick();

    Settings& settings_;
    InterfaceState& ui_;
    std::function<void()> repaint_;
    QTimer timer_;
    int32_t previousLevel_ = 0;
    int32_t colour_ = 0;
    int pendingWait_ = 0;
    Stage stage_ = Stage::Idle;
};

} // namespace xk
