#include "device/UploadSettings.h"

#include "device/MouseProtocol.h"
#include "settings/FunctionCode.h"
#include "settings/SettingsIo.h"

namespace xk {

int DesktopPointerSpeedOf(uint8_t pointerSpeed) {
    if (pointerSpeed == 0) {
        return 1;
    }
    if (pointerSpeed <= 8) {
        return 2 * pointerSpeed;
    }
    return 18;
}

bool UploadSettings(Settings& settings, FeatureReports& reports, SystemSettings& system,
                    const RepaintRequest& repaint, SendBudget& budget) {
    const int32_t current = settings.currentConfig.load();
    bool saved = WriteCurrentConfig(settings.configPath, current);
    saved = SaveSettings(settings, settings.configPath, kUploadConfig) && saved;
    SendSettings(settings, reports, system, repaint, budget);
    return SaveSettings(settings, settings.configPath, current) && saved;
}

bool UploadSettings(Settings& settings, FeatureReports& reports, SystemSettings& system,
                    const RepaintRequest& repaint) {
    SendBudget budget(kInterfaceSendBudget);
    return UploadSettings(settings, reports, system, repaint, budget);
}

void SendSettings(Settings& settings, FeatureReports& reports, SystemSettings& system,
                  const RepaintRequest& repaint) {
    SendBudget budget(kInterfaceSendBudget);
    SendSettings(settings, reports, system, repaint, budget);
}

void SendSettings(Settings& settings, FeatureReports& reports, SystemSettings& system,
                  const RepaintRequest& repaint, SendBudget& budget) {
    for (size_t i = 0; i < kButtonCount; ++i) {
        settings.dpiFollow[i].store(0);
        settings.rateFollow[i].store(0);
        const DeviceFunction function = DeviceFunctionOf(settings.buttonFunction[i].load());
        settings.dpiFollow[i].store(function.dpiFollow ? 1 : 0);
        settings.rateFollow[i].store(function.rateFollow ? 1 : 0);
        reports.SendButtonFunction(i, function.deviceCode, budget);
    }

    reports.SendWheelStatus(settings.wheelStatus, budget);

    uint8_t enableBits = 0;
    for (size_t j = 0; j < kDpiLevelCount; ++j) {
        if (settings.dpiEnabled[j] != 0) {
            enableBits = static_cast<uint8_t>(enableBits | (1u << j));
        }
    }
    const int32_t dpiLevel = settings.dpiLevel.load();
    for (size_t j = 0; j < kDpiLevelCount; ++j) {
        settings.dpiDeviceCode[j] = DpiStepCodeOf(settings.dpiValue[j]);
        reports.SendDpiLevel(j, dpiLevel, settings.dpiDeviceCode[j], enableBits, budget);
    }

    settings.appliedLedMode = AppliedLedModeOf(settings.ledMode);
    reports.SendLedMode(LedCodeOf(settings.ledMode), budget);

    if (repaint) {
        repaint();
    }

    if (system.PointerSpeed()) {
        system.SetPointerSpeed(DesktopPointerSpeedOf(settings.pointerSpeed));
    }
    if (system.WheelScrollLines()) {
        system.SetWheelScrollLines((settings.wheelSpeed + 1) & 0xFF);
    }

    reports.SendFireTime(settings.fireTime, budget);
}

} // namespace xk
