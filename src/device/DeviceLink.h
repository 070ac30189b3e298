#pragma once

#include "device/ActionExecutor.h"
#include "device/ButtonActions.h"
#include "device/ExecutorFlags.h"
#include "device/FeatureReports.h"
#include "device/HidTransport.h"
#include "device/InputListener.h"
#include "device/Launcher.h"
#include "device/MouseConnection.h"
#include "device/StopSignal.h"
#include "device/UploadSettings.h"
#include "macro/MacroStore.h"
#include "settings/Settings.h"

#include <functional>

namespace xk {

// Everything of the device link that the application owns, wired together: the connection,
// the report buffer, the shared flags, the listener and the executor. The destructor stops
// both threads.
class DeviceLink {
public:
    DeviceLink(HidTransport& transport, Settings& settings, const MacroStore& macros,
               Launcher& launcher, RepaintRequest repaint);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Runs first on each of its threads (the platform's priority raise); set before Start.
    void SetThreadStartHook(const std::function<void()>& hook);
    // Clears the pending and stop flags, then starts the listener and the executor.
    void Start();
    // Stops and joins both threads; safe to call twice.
    void Stop();
    // The mouse's side of the exit procedure: both threads end (a playing macro ends and lets
    // go of its keys and buttons), the exit report goes out within `budget`, and the handles
    // close, so it is the last report the mouse receives. False when the mouse did not answer.
    bool Close(SendBudget& budget);

    MouseConnection& connection() { return connection_; }
    FeatureReports& reports() { return reports_; }
    ExecutorFlags& flags() { return flags_; }
    InputListener& listener() { return listener_; }
    ActionExecutor& executor() { return executor_; }

private:
    MouseConnection connection_;
    FeatureReports reports_;
    ExecutorFlags flags_;
    StopSignal shutdown_;
    ButtonActions actions_;
    InputListener listener_;
    ActionExecutor executor_;
};

} // namespace xk
