#pragma once

#include "app/SingleInstance.h"
#include "app/TrayIcon.h"
#include "device/DeviceLink.h"
#include "device/HidTransport.h"
#include "device/Launcher.h"
#include "device/StartPointerSetting.h"
#include "device/SystemSettings.h"
#include "macro/Clock.h"
#include "macro/KeyboardGrab.h"
#include "macro/MacroPage.h"
#include "platform/ExitSignals.h"
#include "platform/ProgramFolders.h"
#include "platform/TransportChoice.h"
#include "settings/Settings.h"
#include "settings/UserMessages.h"
#include "ui/CMenuDlg.h"
#include "ui/CNUV_DEvoraDlg.h"
#include "ui/CNuvMenu.h"
#include "ui/EventMenu.h"
#include "ui/InterfaceState.h"
#include "ui/MacroPageWidgets.h"
#include "ui/SkinPictures.h"
#include "ui/TextFonts.h"
#include "ui/WindowCommands.h"
#include "ui/layout/ExitProcedure.h"
#include "ui/layout/SkinLayout.h"

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace xk {

// The application: owns the program-wide state, refuses to run twice, brings the main window
// up in its fixed order and ends the program in one way (ExitProgram).
//
// Its members are defined across src/app: CNUV_DEvoraApp.cpp (construction, Run, messages,
// keyboard grab), StartUp.cpp (the window's initialisation), Lifetime.cpp (hide, show,
// exit), Operations.cpp (upload and the macro page's operations), FunctionPopup.cpp (the
// popup and the warning), Profiles.cpp (profiles and the factory reset), Language.cpp (the
// language switch) and Menus.cpp (the tray and event menus).
class CNUV_DEvoraApp final : public QObject,
                             public WindowCommands,
                             public UserMessages,
                             public ExitProcedure,
                             public KeyboardGrab {
    Q_OBJECT
public:
    // What stands in for the computer's facilities: main hands in the real ones, tests their
    // doubles. They outlive the application object.
    struct Services {
        HidTransport& transport;
        SystemSettings& system;
        Launcher& launcher;
        const Clock& clock;
    };

    CNUV_DEvoraApp(ProgramFolders folders, CommandLine commandLine, Services services);
    ~CNUV_DEvoraApp() override;

    // Runs the program; answers the process's exit status.
    int Run();

    // ExitProcedure.
    void ExitProgram() override;
    // The exit procedure's part that needs no display, for a process that ends because its X
    // server went away: the macro stops, everything is released, the exit report goes last.
    void ExitWithoutDisplay();
    void HideToTray() override;
    void ShowFromTray();

    // UserMessages: a message box owned by the main window, captioned with the program's name.
    void ShowMessage(std::string_view text) override;

    // WindowCommands.
    void UploadSettings() override;
    void ImportProfile() override;
    void ExportProfile() override;
    void FactoryReset() override;
    void SwitchLanguage(int32_t language) override;
    void ImportMacros() override;
    void ExportMacros() override;
    void NewMacro() override;
    void DeleteMacro() override;
    void SaveMacros() override;
    void ToggleRepeat() override;
    void ToggleRecording() override;
    void FillMacroList() override;
    WarningResult RunWarning() override;
    void OpenFunctionPopup() override;
    void CloseFunctionPopup() override;
    void OpenEventMenu() override;

    // KeyboardGrab for recording.
    bool GrabKeyboard() override;
    void ReleaseKeyboard() override;

    // A request of xk-r40-ctl (its arguments), carried out as the window would; answers the
    // answer's lines.
    std::string AnswerControlRequest(const std::vector<std::string>& arguments);

private:
    friend class AppControlHost;

    // The main window's initialisation; false when start-up ended the program.
    bool InitMainWindow();
    // (Re)builds the event list's menu and the tray menu for a language.
    void LoadMenus(int32_t language);
    void WatchDeviceChanges();
    // TERM, INT and HUP run ExitProgram on the interface thread.
    void WatchExitSignals();
    // Asks for a repaint of the main window from any thread.
    void RequestRepaintFromAnyThread();
    // What an upload did.
    struct UploadResult {
        bool saved = true;    // config.ini
        bool answered = true; // the mouse
        bool refused = false; // by the mouse
    };
    // Says when the mouse did not answer or refused what an upload sent.
    void SayWhatTheMouseDid(const UploadResult& result);
    // The upload, waiting for the mouse within `budget`. Says nothing: the apply button and the
    // reset, which a person started, say so themselves.
    UploadResult UploadAndSave(SendBudget budget);
    // What the interface thread's operations may wait for the mouse: the window goes on
    // painting meanwhile, while input and requests wait until the operation is done.
    static SendBudget MouseBudget();
    // Tells that files a person's action wrote could not be written.
    void ShowNotSaved(std::initializer_list<std::filesystem::path> files);
    WindowContext Context();

    ProgramFolders folders_;
    std::filesystem::path skinsDir_;
    CommandLine commandLine_;
    SingleInstance instance_;

    Settings settings_;
    MacroStore macros_;
    InterfaceState ui_;
    SkinLayout layout_;
    SkinPictures pictures_;
    TextFonts fonts_;
    MacroPageWidgets widgets_;
    MacroPage macroPage_;
    CNuvMenu menuStyle_;
    EventMenu eventMenu_;

    HidTransport& transport_;
    SystemSettings& system_;
    // Made once the person's folder is known; the exit puts the desktop's setting back.
    std::unique_ptr<StartPointerSetting> startPointer_;
    Launcher& launcher_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<QSocketNotifier> deviceNotifier_;
    std::unique_ptr<ExitSignals> exitSignals_;
    std::unique_ptr<QSocketNotifier> signalNotifier_;

    std::unique_ptr<CNUV_DEvoraDlg> window_;
    // The open function popup; null once it closed itself.
    QPointer<CMenuDlg> functionPopup_;
    std::unique_ptr<TrayIcon> tray_;
    bool connected_ = false;
    bool exiting_ = false;
};

} // namespace xk
