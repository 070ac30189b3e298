// Pointer moves, presses and releases of the main window: which element does what.
#include "ui/CNUV_DEvoraDlg.h"

#include "settings/FunctionAssignment.h"
#include "settings/FunctionCode.h"
#include "settings/SettingsIo.h"
#include "ui/PointerRules.h"
#include "ui/layout/Element.h"

namespace xk {
namespace {

constexpr int32_t kLastMainElementHit = 114;
constexpr int32_t kLastCommonElement = 19;
constexpr int32_t kLastLightElementHit = 4;
constexpr int32_t kLastMacroElementHit = 37;
constexpr int32_t kHideConfig = 6;
constexpr int kWarningCancel = 2;

} // namespace

void CNUV_DEvoraDlg::OnPointerMove(int32_t x, int32_t y) {
    InterfaceState& ui = c_.ui;
    const bool mainPage = c_.settings.currentPage == kMainPage;
    ui.hotMainElement =
        HitTest(c_.layout.mainElements, x, y, mainPage ? kLastMainElementHit : kLastCommonElement);
    ui.hotLightElement = HitTest(c_.layout.lightElements, x, y, kLastLightElementHit);
    ui.hotMacroElement = HitTest(c_.layout.macroElements, x, y, kLastMacroElementHit);
    const std::array<int32_t, 3> hot{ui.hotMainElement, ui.hotLightElement, ui.hotMacroElement};
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
        if (ui.hotMainElement == 9 || ui.hotMainElement == 11) {
            ShowPage(ui.hotMainElement == 9 ? kMainPage : kLightPage);
        } else if (ui.hotMainElement == kNoElement && ui.hotMacroElement == kNoElement) {
            MoveWindow();
        } else {
            ActOnMacroPress(ui.hotMacroElement, x);
        }
        break;
    case kLightPage:
        if (ui.hotMainElement == 9 || ui.hotMainElement == 10) {
            ShowPage(ui.hotMainElement == 9 ? kMainPage : kMacroPage);
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
    if (element == 10) {
        ShowPage(kMacroPage);
    } else if (element == 11) {
        ShowPage(kLightPage);
    } else if (element == 14) {
        commands_.ImportProfile();
        RequestRepaint();
    } else if (element == 15) {
        commands_.ExportProfile();
    } else if (element == 0) {
        SaveSettings(s, s.configPath, s.currentConfig.load());
        RequestRepaint();
    } else if (element >= 25 && element <= 32) {
        PressButtonSlot(element);
    } else if (element == 41 || element == 42) {
        s.wheelStatus = element - 41;
    } else if (element >= 46 && element <= 49) {
        ToggleDpiEnabled(s, element - 46);
    } else if (element >= 54 && element <= 57) {
        if (s.dpiEnabled[static_cast<size_t>(element - 54)] != 0) {
            s.dpiLevel.store(element - 54);
        }
    } else if (element >= 66 && element <= 113) {
        const auto level = static_cast<size_t>((element - 66) / kDpiStepCount);
        s.dpiValue[level] = static_cast<uint8_t>((element - 66) % kDpiStepCount);
        RequestRepaint();
    }
}

void CNUV_DEvoraDlg::PressButtonSlot(int32_t element) {
    InterfaceState& ui = c_.ui;
    c_.settings.selectedButton = element;
    const Element& e = c_.layout.mainElements[static_cast<size_t>(element)];
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    ui.popupOrigin = {origin.x() + e.x, origin.y() + e.y + e.height};

    if (IsOnlyLeftButton(c_.settings, element) && commands_.RunWarning() == kWarningCancel) {
        return;
    }
    ui.functionPopupOpen = true;
    commands_.OpenFunctionPopup();
}

void CNUV_DEvoraDlg::ActOnMacroPress(int32_t element, int32_t x) {
    Settings& s = c_.settings;
    switch (element) {
    case 0:
        commands_.ImportMacros();
        RequestRepaint();
        return;
    case 1:
        commands_.ExportMacros();
        return;
    case 2:
        commands_.NewMacro();
        return;
    case 3:
        commands_.DeleteMacro();
        return;
    case 4:
        commands_.ToggleRecording();
        return;
    case 5:
        commands_.SaveMacros();
        return;
    case 6:
        commands_.ToggleRepeat();
        return;
    case 7:
        s.macroMode.store(s.macroMode.load() == 0 ? 1 : 0);
        return;
    case 30: {
        const Element& bar = c_.layout.macroElements[30];
        s.fireTime = FireTimeFromX(x, bar.x, bar.width);
        RequestRepaint();
        return;
    }
    case 31:
    case 32:
        s.fireTime = StepFireTime(s.fireTime, element == 31 ? 1 : -1);
        RequestRepaint();
        return;
    default:
        break;
    }
    if (element >= 8 && element <= 17) {
        s.pointerSpeed = static_cast<uint8_t>(element - 8);
    } else if (element >= 18 && element <= 27) {
        s.wheelSpeed = static_cast<uint8_t>(element - 18);
    }
}

void CNUV_DEvoraDlg::OnLeftButtonUp(int32_t /*x*/, int32_t /*y*/) {
    InterfaceState& ui = c_.ui;
    Settings& s = c_.settings;
    ui.pointerPressed = false;
    RepaintWindow();
    const int32_t element = ui.hotMainElement;
    if (element == 2) {
        ui.hotMainElement = kNoElement;
        SaveDpiLevel(s, s.configPath, kHideConfig);
        LoadSettings(s, s.configPath, kHideConfig, false);
        commands_.HideToTray();
        RequestRepaint();
    } else if (element == 3) {
        commands_.UploadSettings();
    } else if (element >= 4 && element <= 8) {
        s.currentConfig.store(element - 3);
        LoadSettings(s, s.configPath, element - 3, false);
        RequestRepaint();
    } else if (element == 12) {
        ui.hotMainElement = kNoElement;
        showMinimized();
    } else if (element == 13) {
        ui.hotMainElement = kNoElement;
        commands_.HideToTray();
    } else if (element == 16) {
        commands_.FactoryReset();
    } else if (element == 17 || element == 18) {
        commands_.SwitchLanguage(element == 18 ? 1 : 0);
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
