#pragma once

#include "device/FeatureReports.h"
#include "device/SystemSettings.h"
#include "settings/Settings.h"

#include <functional>

namespace xk {

// Asks the window layer to repaint the main window. May be called from any thread: the
// window layer marshals it to its own thread.
using RepaintRequest = std::function<void()>;

// The configuration section that holds what was last uploaded.
inline constexpr int32_t kUploadConfig = 6;

// The desktop pointer speed (1..20) of pointerSpeed: 0 -> 1, n -> 2n up to 8, above -> 18.
int DesktopPointerSpeedOf(uint8_t pointerSpeed);

// Brings the mouse and the desktop in line with the record: saves [Init] CurConfig and
// Config6, sends every button's function (recomputing dpiFollow and rateFollow), the wheel
// status, the four DPI levels (dpiDeviceCode), the LED mode (appliedLedMode), repaints, sets
// the pointer speed and wheel lines where they can be queried, sends the fire time and saves
// the current configuration's section. Interface thread. False when a save of config.ini
// failed (the mouse and the desktop are set all the same). The reports wait for the mouse
// within `budget`, which tells whether it answered; without one, within kInterfaceSendBudget.
bool UploadSettings(Settings& settings, FeatureReports& reports, SystemSettings& system,
                    const RepaintRequest& repaint, SendBudget& budget);
bool UploadSettings(Settings& settings, FeatureReports& reports, SystemSettings& system,
                    const RepaintRequest& repaint);

// The upload between its saves: the reports, the repaint and the desktop's settings.
void SendSettings(Settings& settings, FeatureReports& reports, SystemSettings& system,
                  const RepaintRequest& repaint, SendBudget& budget);
void SendSettings(Settings& settings, FeatureReports& reports, SystemSettings& system,
                  const RepaintRequest& repaint);

} // namespace xk
