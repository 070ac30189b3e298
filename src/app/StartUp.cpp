// The main window's initialisation, in its fixed order.
#include "app/AppIcon.h"
#include "app/CNUV_DEvoraApp.h"

#include "ctl/MouseDiagnosis.h"
#include "device/UploadSettings.h"
#include "macro/MacroFile.h"
#include "macro/MacroList.h"
#include "settings/Language.h"
#include "settings/SettingsIo.h"
#include "ui/MaskShape.h"
#include "ui/layout/LayoutLoader.h"
#include "ui/layout/SkinPictureNames.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <thread>

namespace xk {
namespace {

constexpr const char* kPlugInEnglish = "Please plug-in【XK-R40】USB Mouse";
constexpr const char* kPlugInChinese = "请插入【XK-R40】USB鼠标";

} // namespace

bool CNUV_DEvoraApp::InitMainWindow() {
    // Worker threads first: until the mouse is open they only wait for it.
    link_->Start();

    const QIcon icon = MakeApplicationIcon();
    window_->setWindowIcon(icon);
    QApplication::setWindowIcon(icon);

    RemoveSaveLeftovers(folders_.person);
    // Before anything can change the desktop's pointer setting.
    startPointer_ = std::make_unique<StartPointerSetting>(
        system_, settings_.configPath.parent_path() / kStartPointerFileName);
    startPointer_->Keep();
    settings_.currentConfig.store(ReadCurrentConfig(settings_.configPath));
    settings_.language = ReadLanguage(settings_.configPath);
    LoadSettings(settings_, settings_.configPath, settings_.currentConfig.load(), false);
    window_->setWindowTitle(QString::fromLatin1(kWindowTitle));

    LayoutReader reader(*this, *this);
    if (!LoadMainLayout(reader, skinsDir_, settings_.language, layout_) ||
        !LoadLightLayout(reader, skinsDir_, settings_.language, layout_) ||
        !LoadAdvancedLayout(reader, skinsDir_, settings_.language, layout_) ||
        !LoadWarningLayout(reader, skinsDir_, settings_.language, layout_)) {
        return false;
    }

    fonts_ = CreateTextFonts();
    window_->ApplyShape(ShapeFromMask(skinsDir_ / skin_pictures::kMainMask));

    macros_.macroFilePath = MacroFilePathFor(folders_.person, settings_.language);
    LoadMacroFile(macros_.macroFilePath, macros_, MacroTarget::User, *this);
    LoadMacroFile(folders_.data / kConstMacroFileName, macros_, MacroTarget::Constant, *this);

    ui_.functionPopupOpen = false;
    macroPage_.eventList.selectedLine = StartSelectedLine(macros_);

    tray_ = std::make_unique<TrayIcon>(icon);
    connect(tray_.get(), &TrayIcon::showRequested, this, &CNUV_DEvoraApp::ShowFromTray);
    connect(tray_.get(), &TrayIcon::exitRequested, this, &CNUV_DEvoraApp::ExitProgram);
    LoadMenus(settings_.language);

    link_->connection().SetRemovalHandler([this] { ExitProgram(); });
    connected_ = link_->connection().FindMouse();
    WatchDeviceChanges();
    if (!connected_) {
        const std::string why =
            ctl::WhyNoMouse(commandLine_.virtualMouseSocket, folders_.data / "70-xk-r40.rules");
        std::fprintf(stderr, "xk-r40: %s\n", why.c_str());
        // Started hidden (at login, or by the mouse's arrival) it ends quietly.
        if (!commandLine_.hidden) {
            ShowMessage(IsEnglish(settings_.language) ? kPlugInEnglish : kPlugInChinese);
        }
        ExitProgram();
        return false;
    }

    // A program killed while a macro held keys left them held in the mouse.
    SendBudget budget = MouseBudget();
    link_->reports().ReleaseHeld(budget);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // A start-up that cannot save says nothing: no one asked for a save.
    SayWhatTheMouseDid(UploadAndSave(std::move(budget)));
    tray_->AddTrayIcon();
    return true;
}

void CNUV_DEvoraApp::WatchDeviceChanges() {
    const int fd = link_->connection().NotificationFd();
    if (fd < 0 || deviceNotifier_) {
        return;
    }
    deviceNotifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(deviceNotifier_.get(), &QSocketNotifier::activated, this,
            [this] { link_->connection().ProcessDeviceChanges(); });
}

} // namespace xk
