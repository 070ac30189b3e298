#include "ui/LedPreview.h"

namespace xk {

LedPreview::LedPreview(Settings& settings, InterfaceState& ui, std::function<void()> repaint)
    : settings_(settings), ui_(ui), repaint_(std::move(repaint)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &LedPreview::Tick);
}

void LedPreview::StartLedPreview() {
    if (ui_.ledPreviewRunning) {
        return;
    }
    ui_.ledPreviewRunning = true;
    if (settings_.currentPage != kLightPage) {
        ui_.ledPreviewRunning = false;
        return;
    }
    const int32_t level = settings_.dpiLevel.load();
    previousLevel_ = level;
    ui_.ledPreviewColour = level;
    colour_ = level;
    RunPhase();
}

void LedPreview::StopLedPreview() {
    timer_.stop();
    stage_ = Stage::Idle;
    ui_.ledPreviewRunning = false;
}

LedPreview::Phase LedPreview::NextPhase() {
    Phase phase;
    const int32_t level = settings_.dpiLevel.load();
    const uint8_t mode = settings_.appliedLedMode;
    if (mode == 3) {
        ui_.ledPreviewDark = true;
        ui_.ledPreviewColour = level;
    } else if (mode == 2) {
        ui_.ledPreviewDark = false;
        ui_.ledPreviewColour = level;
    } else if (level != previousLevel_) {
        ui_.ledPreviewColour = level;
        ui_.ledPreviewDark = false;
        previousLevel_ = level;
        phase.firstWait = 2000;
    } else if (ui_.ledPreviewDark) {
        ui_.ledPreviewDark = false;
    } else {
        ui_.ledPreviewDark = true;
        ui_.ledPreviewColour = colour_ >= 3 ? 0 : colour_ + 1;
    }
    phase.wait = mode == 1 ? 800 : 1200;
    return phase;
}

void LedPreview::RunPhase() {
    const Phase phase = NextPhase();
    repaint_();
    if (phase.firstWait > 0) {
        stage_ = Stage::SecondHalf;
        pendingWait_ = phase.wait;
        timer_.start(phase.firstWait);
    } else {
        stage_ = Stage::Waiting;
        timer_.start(phase.wait);
    }
}

void LedPreview::Tick() {
    if (stage_ == Stage::SecondHalf) {
        stage_ = Stage::Waiting;
        repaint_();
        timer_.start(pendingWait_);
        return;
    }
    if (settings_.currentPage != kLightPage) {
        stage_ = Stage::Idle;
        ui_.ledPreviewRunning = false;
        return;
    }
    colour_ = ui_.ledPreviewColour;
    RunPhase();
}

} // namespace xk
