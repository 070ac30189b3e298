#pragma once

#include <cstdint>

namespace xk {

// The warning's answer. A dialog that could not run answers something else, which goes on as a
// confirmation.
enum class WarningResult : int { Confirm = 1, Cancel = 2 };

// What the main window's pointer actions start outside the window itself: the device, the
// tray, profiles, the language, the macro operations and the popups. The application object
// implements it; tests record the calls.
class WindowCommands {
public:
    virtual ~WindowCommands() = default;

    virtual void UploadSettings() = 0;
    virtual void HideToTray() = 0;
    // The exit procedure, as the tray menu's "Exit Driver" runs it.
    virtual void ExitProgram() = 0;

    virtual void ImportProfile() = 0;
    virtual void ExportProfile() = 0;
    virtual void FactoryReset() = 0;
    virtual void SwitchLanguage(int32_t language) = 0;

    virtual void ImportMacros() = 0;
    virtual void ExportMacros() = 0;
    virtual void NewMacro() = 0;
    virtual void DeleteMacro() = 0;
    virtual void SaveMacros() = 0;
    virtual void ToggleRepeat() = 0;
    virtual void ToggleRecording() = 0;
    virtual void FillMacroList() = 0;

    // The warning before the only left button is given another function.
    virtual WarningResult RunWarning() = 0;
    // Opens the function popup for `selectedButton` at `popupOrigin` (screen coordinates).
    virtual void OpenFunctionPopup() = 0;
    virtual void CloseFunctionPopup() = 0;
    // The event list's context menu, on a right-button release over the macro page.
    virtual void OpenEventMenu() = 0;
};

} // namespace xk
