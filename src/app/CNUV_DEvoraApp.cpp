#include "app/CNUV_DEvoraApp.h"

#include "app/AppIcon.h"
#include "macro/MacroList.h"
#include "platform/LocaleLanguage.h"
#include "platform/PersonFiles.h"
#include "platform/ThreadPriority.h"
#include "platform/X11KeyRepeat.h"
#include "ui/DialogPalette.h"

#include <QApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>

#include <cstdio>

namespace xk {
namespace {

// The X connection of the application, or null on other platforms.
void* X11Display() {
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

} // namespace

CNUV_DEvoraApp::CNUV_DEvoraApp(ProgramFolders folders, CommandLine commandLine, Services services)
    : folders_(std::move(folders)), skinsDir_(folders_.data / "skins"),
      commandLine_(std::move(commandLine)),
      pictures_(skinsDir_), macroPage_{macros_, widgets_, *this, services.clock, *this, {}, {}},
      transport_(services.transport), system_(services.system), launcher_(services.launcher) {}

CNUV_DEvoraApp::~CNUV_DEvoraApp() {
    // The worker threads end before anything they touch goes away.
    if (link_) {
        link_->Stop();
    }
}

int CNUV_DEvoraApp::Run() {
    // Message boxes and file dialogs in the skin's colours.
    QApplication::setPalette(SkinDialogPalette());
    if (std::string noFolder; !MakePersonFolder(folders_.person, noFolder)) {
        const std::string text = "XK-R40 cannot start: " + noFolder;
        std::fprintf(stderr, "%s\n", text.c_str());
        ShowMessage(text);
        return 1;
    }
    settings_.configPath = ConfigPathIn(folders_.person);
    if (!instance_.BecomeFirst(settings_.configPath.parent_path())) {
        if (const QString failure = instance_.Failure(); !failure.isEmpty()) {
            // Not another instance: say why nothing starts.
            const QString text = QStringLiteral("XK-R40 cannot start: ") + failure;
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
            ShowMessage(text.toStdString());
            return 1;
        }
        if (commandLine_.hidden) {
            // A hidden start (at login, or at the mouse's arrival) finds it running already
            // and leaves its window as it is.
            return 0;
        }
        QString why;
        if (!instance_.AskFirstToShow(&why)) {
            std::fprintf(stderr,
                         "XK-R40 runs already, but cannot be asked to show its window: %s\n",
                         why.toLocal8Bit().constData());
            return 1;
        }
        return 0;
    }
    if (const QString failure = instance_.ListenFailure(); !failure.isEmpty()) {
        // The mouse is served all the same; only later starts and xk-r40-ctl cannot reach it.
        std::fprintf(stderr, "xk-r40: later starts and xk-r40-ctl cannot reach this program: %s\n",
                     failure.toLocal8Bit().constData());
    }
    connect(&instance_, &SingleInstance::showRequested, this, &CNUV_DEvoraApp::ShowFromTray);
    for (const std::string& line : PreparePersonFiles(folders_, LanguageOfThisLocale())) {
        std::fprintf(stderr, "xk-r40: %s\n", line.c_str());
    }

    link_ = std::make_unique<DeviceLink>(transport_, settings_, macros_, launcher_,
                                         [this] { RequestRepaintFromAnyThread(); });
    link_->SetThreadStartHook(RaiseCurrentThreadPriority);
    WatchExitSignals();
    window_ = std::make_unique<CNUV_DEvoraDlg>(Context(), widgets_, *this);
    QApplication::instance()->installEventFilter(window_.get());
    widgets_.SetMacroSelectedHandler([this] { xk::SelectMacro(macroPage_); });

    if (!InitMainWindow() || exiting_) {
        return 0;
    }
    if (commandLine_.hidden) {
        HideToTray();
    } else {
        window_->show();
    }
    instance_.SetRequestHandler([this](const std::vector<std::string>& arguments) {
        return AnswerControlRequest(arguments);
    });
    return QApplication::exec();
}

void CNUV_DEvoraApp::WatchExitSignals() {
    exitSignals_ = std::make_unique<ExitSignals>();
    if (exitSignals_->Fd() < 0) {
        return;
    }
    signalNotifier_ = std::make_unique<QSocketNotifier>(exitSignals_->Fd(), QSocketNotifier::Read);
    connect(signalNotifier_.get(), &QSocketNotifier::activated, this, [this] {
        exitSignals_->Take();
        ExitProgram();
    });
}

WindowContext CNUV_DEvoraApp::Context() {
    return WindowContext{settings_, macroPage_, ui_, layout_, pictures_, fonts_};
}

void CNUV_DEvoraApp::RequestRepaintFromAnyThread() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (window_) {
                window_->RequestRepaint();
            }
        },
        Qt::QueuedConnection);
}

void CNUV_DEvoraApp::ShowMessage(std::string_view text) {
    QWidget* owner = window_ && window_->isVisible() ? window_.get() : nullptr;
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, owner);
    box.exec();
}

// A held key repeats as presses while the keyboard is grabbed, as the recording expects it.
bool CNUV_DEvoraApp::GrabKeyboard() {
    if (!window_) {
        return false;
    }
    window_->grabKeyboard();
    SetDetectableKeyRepeat(X11Display(), true);
    return true;
}

void CNUV_DEvoraApp::ReleaseKeyboard() {
    if (window_) {
        window_->releaseKeyboard();
    }
    SetDetectableKeyRepeat(X11Display(), false);
}

} // namespace xk
