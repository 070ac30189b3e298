#include "ProjectInfo.h"
#include "app/CNUV_DEvoraApp.h"
#include "app/ProgramHelp.h"
#include "platform/DesktopLauncher.h"
#include "platform/ProgramFolders.h"
#include "platform/SessionSystemSettings.h"
#include "platform/SystemClock.h"
#include "platform/TransportChoice.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// Qt ends the process with exit() when its X connection breaks (the X server died); the mouse
// must still be let go of. Set only while the application object lives.
xk::CNUV_DEvoraApp* runningApp = nullptr;

void ExitWithoutDisplay() {
    if (runningApp != nullptr) {
        runningApp->ExitWithoutDisplay();
    }
}

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Qt aborts when it finds no display to connect to; a start without one (a service before the
// desktop is up, a console) ends with a line instead.
bool HasDisplay() {
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv) {
    // The command line is answered before a display is opened.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    xk::CommandLine commandLine = xk::ParseCommandLine(arguments);
    if (commandLine.help) {
        std::fwrite(xk::ProgramHelp().data(), 1, xk::ProgramHelp().size(), stdout);
        return 0;
    }
    if (commandLine.version) {
        std::printf("xk-r40 %.*s\n", static_cast<int>(xk::kVersion.size()), xk::kVersion.data());
        return 0;
    }
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "xk-r40: %s\n%.*s(xk-r40 --help tells more)\n",
                     commandLine.error.c_str(), static_cast<int>(xk::ProgramUsage().size()),
                     xk::ProgramUsage().data());
        return 2;
    }
    if (!HasDisplay()) {
        std::fputs("xk-r40: no display to show its window on (neither DISPLAY nor WAYLAND_DISPLAY "
                   "is set)\n",
                   stderr);
        return 1;
    }

    // On a Wayland session the window runs through XWayland, where its shape, the popups'
    // places and the keyboard grab of recording work as on X11. A person's own choice wins, and
    // the programs started for the person do not inherit this one.
    const bool throughX = !IsSet("QT_QPA_PLATFORM") && IsSet("DISPLAY");
    if (throughX) {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    QApplication application(argc, argv);
    if (throughX) {
        ::unsetenv("QT_QPA_PLATFORM");
    }
    QApplication::setQuitOnLastWindowClosed(false);
    // The desktop entry the window belongs to (the Wayland app id).
    QGuiApplication::setDesktopFileName(
        QString::fromLatin1(xk::kDesktopId.data(), static_cast<qsizetype>(xk::kDesktopId.size())));
    const std::unique_ptr<xk::HidTransport> transport = xk::MakeTransport(commandLine);
    xk::SessionSystemSettings system;
    xk::DesktopLauncher launcher;
    const xk::SystemClock clock;
    xk::CNUV_DEvoraApp app(xk::FoldersOfThisProgram(), std::move(commandLine),
                           {*transport, system, launcher, clock});
    runningApp = &app;
    std::atexit(ExitWithoutDisplay);
    const int status = app.Run();
    runningApp = nullptr;
    return status;
}
