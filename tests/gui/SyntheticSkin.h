#pragma once

#include "macro/MacroPage.h"
#include "macro/MacroStore.h"
#include "settings/Settings.h"
#include "support/TempDir.h"
#include "support/fakes/FakeClock.h"
#include "support/fakes/FakeKeyboardGrab.h"
#include "support/fakes/RecordingMessages.h"
#include "ui/CNUV_DEvoraDlg.h"
#include "ui/InterfaceState.h"
#include "ui/MacroPageWidgets.h"
#include "ui/SkinPictures.h"
#include "ui/TextFonts.h"
#include "ui/WindowCommands.h"
#include "ui/layout/SkinLayout.h"

#include <QColor>
#include <QImage>

#include <memory>
#include <string>
#include <vector>

namespace xk::test {

// Flat colours: a pixel tells which picture shows where.
inline const QColor kMainNormal(40, 40, 40);
inline const QColor kMacroNormal(60, 60, 20);
inline const QColor kLightNormal(20, 60, 60);
inline const QColor kOver(0, 200, 200);
inline const QColor kDown(230, 120, 0);
inline const QColor kLedBlue(0, 0, 160);
inline const QColor kLedGray(120, 120, 120);
inline const QColor kPopupNormal(30, 30, 90);
inline const QColor kWarningNormal(90, 30, 30);
// The popups: ten rows of 20 pixels, 200 wide; the sub-popup's twelve rows of 20, 180 wide.
inline constexpr int kPopupWidth = 200;
inline constexpr int kPopupRowHeight = 20;
inline constexpr int kSubPopupWidth = 180;
inline constexpr int kWarningWidth = 200;
inline constexpr int kWarningHeight = 100;
inline constexpr int kSkinWidth = 400;
inline constexpr int kSkinHeight = 300;

// Whether two colours are the same up to JPEG's rounding.
bool Near(QColor a, QColor b, int tolerance = 12);

// Records what the window asked of the rest of the program.
class RecordingCommands : public WindowCommands {
public:
    std::vector<std::string> calls;
    int warningResult = 1; // as the dialog answers: 1 confirm, 2 cancel

    void UploadSettings() override { calls.emplace_back("UploadSettings"); }
    void HideToTray() override { calls.emplace_back("HideToTray"); }
    void ExitProgram() override { calls.emplace_back("ExitProgram"); }
    void ImportProfile() override { calls.emplace_back("ImportProfile"); }
    void ExportProfile() override { calls.emplace_back("ExportProfile"); }
    void FactoryReset() override { calls.emplace_back("FactoryReset"); }
    void SwitchLanguage(int32_t language) override {
        calls.push_back("SwitchLanguage " + std::to_string(language));
    }
    void ImportMacros() override { calls.emplace_back("ImportMacros"); }
    void ExportMacros() override { calls.emplace_back("ExportMacros"); }
    void NewMacro() override { calls.emplace_back("NewMacro"); }
    void DeleteMacro() override { calls.emplace_back("DeleteMacro"); }
    void SaveMacros() override { calls.emplace_back("SaveMacros"); }
    void ToggleRepeat() override { calls.emplace_back("ToggleRepeat"); }
    void ToggleRecording() override { calls.emplace_back("ToggleRecording"); }
    void FillMacroList() override { calls.emplace_back("FillMacroList"); }
    WarningResult RunWarning() override {
        calls.emplace_back("RunWarning");
        return static_cast<WarningResult>(warningResult);
    }
    void OpenFunctionPopup() override { calls.emplace_back("OpenFunctionPopup"); }
    void CloseFunctionPopup() override { calls.emplace_back("CloseFunctionPopup"); }
    void OpenEventMenu() override { calls.emplace_back("OpenEventMenu"); }
};

// A small skin on disk (flat pictures, a mask with a cut corner), the layout tables that go
// with it and a main window built on them.
struct SyntheticSkin {
    SyntheticSkin();

    TempDir dir;
    Settings settings;
    MacroStore macros;
    MacroPageWidgets widgets;
    RecordingMessages messages;
    FakeClock clock{1000};
    FakeKeyboardGrab keyboard{false};
    MacroPage macroPage{macros, widgets, messages, clock, keyboard, {}, {}};
    InterfaceState ui;
    SkinLayout layout;
    std::unique_ptr<SkinPictures> pictures;
    TextFonts fonts;
    RecordingCommands commands;
    std::unique_ptr<CNUV_DEvoraDlg> window;

    WindowContext Context() {
        return WindowContext{settings, macroPage, ui, layout, *pictures, fonts};
    }
    // The window's pixels as painted now.
    QImage Grab();
    static QPoint Centre(const Element& e) { return {e.x + e.width / 2, e.y + e.height / 2}; }
    void MoveTo(const Element& e);
    void Click(const Element& e);
    void Press(const Element& e);
    void Release(const Element& e);
};

} // namespace xk::test
