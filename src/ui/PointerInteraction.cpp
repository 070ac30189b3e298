// Pointer moves, presses and releases of the main window: which element does what.
#include "ui/CNUV_DEvoraDlg.h"

#include "settings/FunctionAssignment.h"
#include "settings/FunctionCode.h"
#include "settings/Language.h"
#include "settings/NotSavedMessage.h"
#include "settings/SettingsIo.h"
#include "ui/PointerRules.h"
#include "ui/layout/Element.h"
#include "ui/layout/LightElements.h"
#include "ui/layout/MacroElements.h"
#include "ui/layout/MainElements.h"

namespace xk {
namespace {

namespace me = main_element;
namespace ae = macro_element;

constexpr int32_t kHideConfig = 6;

} // namespace

void CNUV_DEvoraDlg::OnPointerMove(int32_t x, int32_t y) {
    const bool mainPage = c_.settings.currentPage == kMainPage;
    SetHotElements(HitTest(c_.layout.mainElements, x, y,
                           mainPage ? me::kLastHitElement : me::kLastCommonElement),
                   HitTest(c_.layout.lightElements, x, y, light_element::kLastHitElement),
                   HitTest(c_.layout.macroElements, x, y, ae::kLastHitElement));
}

void CNUV_DEvoraDlg::OnPointerCovered() {
    SetHotElements(kNoElement, kNoElement, kNoElement);
}

void CNUV_DEvoraDlg::SetHotElements(int32_t main, int32_t light, int32_t macro) {
    InterfaceState& ui = c_.ui;
    ui.hotMainElement = main;
    ui.hotLightElement = light;
    ui.hotMacroElement = macro;
    const std::array<int32_t, 3> hot{main, light, macro};
    if (hot != ui.lastHot) {
        ui.lastHot = hot;
        RepaintAfterHotChange();
    }
}

void CNUV_DEvoraDlg::OnLeftButtonDown(int32_t x, int32_t /*y*/) {
    InterfaceState& ui = c_.ui;
    if (ui.hotMainElement != kNoElement || ui.hotLightElement != kNoElement ||
        ui.hotMacroElement != kNoElement) {
        ui.pointerPressed = true;
        RepaintWindow();
    }
    switch (c_.settings.currentPage) {
    case kMainPage:
        if (ui.functionPopupOpen) {
            commands_.CloseFunctionPopup();
            ui.functionPopupOpen = false;
        }
        if (ui.hotMainElement == kNoElement) {
            MoveWindow();
        } else {
            ActOnMainPress(ui.hotMainElement);
        }
        break;
    case kMacroPage:
        if (ui.hotMainElement == me::kMainTab || ui.hotMainElement == me::kLightTab) {
            ShowPage(ui.hotMainElement == me::kMainTab ? kMainPage : kLightPage);
        } else if (ui.hotMainElement == kNoElement && ui.hotMacroElement == kNoElement) {
            MoveWindow();
        } else {
            ActOnMacroPress(ui.hotMacroElement, x);
        }
        break;
    case kLightPage:
        if (ui.hotMainElement == me::kMainTab || ui.hotMainElement == me::kMacroTab) {
            ShowPage(ui.hotMainElement == me::kMainTab ? kMainPage : kMacroPage);
        } else if (ui.hotLightElement >= 0 && ui.hotLightElement < kLedModeCount) {
            c_.settings.ledMode = static_cast<uint8_t>(ui.hotLightElement);
        } else if (ui.hotMainElement == kNoElement && ui.hotLightElement == kNoElement) {
            MoveWindow();
        }
        break;
    default:
        break;
    }
}

void CNUV_DEvoraDlg::ActOnMainPress(int32_t element) {
    Settings& s = c_.settings;
    if (element == me::kMacroTab) {
        ShowPage(kMacroPage);
    } else if (element == me::kLightTab) {
        ShowPage(kLightPage);
    } else if (element == me::kImportProfileButton) {
        commands_.ImportProfile();
        RequestRepaint();
    } else if (element == me::kExportProfileButton) {
        commands_.ExportProfile();
    } else if (element == me::kSaveButton) {
        SaveCurrentConfig();
        RequestRepaint();
    } else if (element >= kFirstButtonSlot && element <= me::kLastButtonSlot) {
        PressButtonSlot(element);
    } else if (element == me::kWheelOffButton || element == me::kWheelOnButton) {
        s.wheelStatus = element - me::kWheelOffButton;
    } else if (element >= me::kFirstDpiEnableSwitch &&
               element < me::kFirstDpiEnableSwitch + kDpiLevelCount) {
        ToggleDpiEnabled(s, element - me::kFirstDpiEnableSwitch);
    } else if (element >= me::kFirstDpiLevelButton &&
               element < me::kFirstDpiLevelButton + kDpiLevelCount) {
        const int32_t level = element - me::kFirstDpiLevelButton;
        if (s.dpiEnabled[static_cast<size_t>(level)] != 0) {
            s.dpiLevel.store(level);
        }
    } else if (element >= me::kDpiBarFirst && element <= me::kDpiBarLast) {
        const int32_t segment = element - me::kDpiBarFirst;
        s.dpiValue[static_cast<size_t>(segment / kDpiStepCount)] =
            static_cast<uint8_t>(segment % kDpiStepCount);
        RequestRepaint();
    }
}

void CNUV_DEvoraDlg::SaveCurrentConfig() {
    const Settings& s = c_.settings;
    if (!SaveSettings(s, s.configPath, s.currentConfig.load())) {
        c_.macroPage.messages.ShowMessage(NotSavedMessage(std::span(&s.configPath, 1), s.language));
    }
}

void CNUV_DEvoraDlg::PressButtonSlot(int32_t element) {
    InterfaceState& ui = c_.ui;
    c_.settings.selectedButton = element;
    const Element& e = c_.layout.mainElements[static_cast<size_t>(element)];
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    ui.popupOrigin = {origin.x() + e.x, origin.y() + e.y + e.height};

    if (IsOnlyLeftButton(c_.settings, element) && commands_.RunWarning() == WarningResult::Cancel) {
        return;
    }
    ui.functionPopupOpen = true;
    commands_.OpenFunctionPopup();
}

void CNUV_DEvoraDlg::ActOnMacroPress(int32_t element, int32_t x) {
    Settings& s = c_.settings;
    switch (element) {
    case ae::kImportButton:
        commands_.ImportMacros();
        RequestRepaint();
        return;
    case ae::kExportButton:
        commands_.ExportMacros();
        return;
    case ae::kNewButton:
        commands_.NewMacro();
        return;
    case ae::kDeleteButton:
        commands_.DeleteMacro();
        return;
    case ae::kRecordButton:
        commands_.ToggleRecording();
        return;
    case ae::kSaveButton:
        commands_.SaveMacros();
        return;
    case ae::kRepeatButton:
        commands_.ToggleRepeat();
        return;
    case ae::kMacroModeButton:
        s.macroMode.store(s.macroMode.load() == 0 ? 1 : 0);
        return;
    case ae::kFireTimeBar: {
        const Element& bar = c_.layout.macroElements[ae::kFireTimeBar];
        s.fireTime = FireTimeFromX(x, bar.x, bar.width);
        RequestRepaint();
        return;
    }
    case ae::kFireTimeUp:
    case ae::kFireTimeDown:
        s.fireTime = StepFireTime(s.fireTime, element == ae::kFireTimeUp ? 1 : -1);
        RequestRepaint();
        return;
    default:
        break;
    }
    if (element >= ae::kFirstPointerSpeedStep &&
        element < ae::kFirstPointerSpeedStep + kSpeedStepCount) {
        s.pointerSpeed = static_cast<uint8_t>(element - ae::kFirstPointerSpeedStep);
    } else if (element >= ae::kFirstWheelSpeedStep &&
               element < ae::kFirstWheelSpeedStep + kSpeedStepCount) {
        s.wheelSpeed = static_cast<uint8_t>(element - ae::kFirstWheelSpeedStep);
    }
}

void CNUV_DEvoraDlg::OnLeftButtonUp(int32_t /*x*/, int32_t /*y*/) {
    InterfaceState& ui = c_.ui;
    Settings& s = c_.settings;
    ui.pointerPressed = false;
    RepaintWindow();
    const int32_t element = ui.hotMainElement;
    if (element == me::kHideButton) {
        ui.hotMainElement = kNoElement;
        SaveDpiLevel(s, s.configPath, kHideConfig);
        LoadSettings(s, s.configPath, kHideConfig, false);
        commands_.HideToTray();
        RequestRepaint();
    } else if (element == me::kApplyButton) {
        commands_.UploadSettings();
    } else if (element >= me::kFirstConfigButton && element <= me::kLastConfigButton) {
        const int32_t config = element - me::kFirstConfigButton + 1;
        s.currentConfig.store(config);
        LoadSettings(s, s.configPath, config, false);
        RequestRepaint();
    } else if (element == me::kMinimiseButton) {
        ui.hotMainElement = kNoElement;
        showMinimized();
    } else if (element == me::kCloseButton) {
        ui.hotMainElement = kNoElement;
        commands_.HideToTray();
    } else if (element == me::kFactoryResetButton) {
        commands_.FactoryReset();
    } else if (element == me::kChineseButton || element == me::kEnglishButton) {
        commands_.SwitchLanguage(element == me::kEnglishButton ? kLanguageEnglish
                                                               : kLanguageChinese);
    }
}

void CNUV_DEvoraDlg::ShowPage(uint8_t page) {
    const uint8_t previous = c_.settings.currentPage;
    if (page == previous || page > kLightPage) {
        return;
    }
    c_.settings.currentPage = page;
    if (page == kMacroPage) {
        update(macroRepaintRegion_);
        macroControls_.Create(c_.layout, c_.fonts.For(c_.settings.language));
        RepaintAfterHotChange();
        commands_.FillMacroList();
        RepaintAfterHotChange();
        return;
    }
    if (page == kLightPage) {
        ledPreview_.StartLedPreview();
    }
    if (previous == kMacroPage) {
        macroControls_.Destroy();
    }
    update();
}

} // namespace xk
