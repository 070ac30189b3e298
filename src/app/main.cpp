#include "app/CNUV_DEvoraApp.h"
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

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    xk::CommandLine commandLine = xk::ParseCommandLine(arguments);
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "%s\nusage: xk-r40 [--hidden] [--virtual-mouse [SOCKET]]\n",
                     commandLine.error.c_str());
        return 2;
    }
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
