// xk-r40-ctl: the mouse from a terminal and from scripts.
#include "LocalHost.h"
#include "ProgramClient.h"
#include "ProgramInstance.h"
#include "ProjectInfo.h"

#include "ctl/Arguments.h"
#include "ctl/Commands.h"
#include "ctl/ExitCodes.h"
#include "ctl/Help.h"
#include "platform/LocaleLanguage.h"
#include "platform/PersonFiles.h"
#include "platform/ProgramFolders.h"
#include "settings/FileBytes.h"
#include "settings/NotSavedMessage.h"

#include <QtGlobal>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

void Print(const xk::ctl::CommandOutput& output) {
    for (const auto& line : output.lines()) {
        std::fprintf(line.error ? stderr : stdout, "%s\n", line.text.c_str());
    }
}

} // namespace

int main(int argc, char** argv) {
    using namespace xk::ctl;
    // Qt only finds the runtime folder and takes the lock here; its remarks are no output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    ParsedArguments parsed = ParseArguments(arguments);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "xk-r40-ctl: %s\n(xk-r40-ctl --help lists the commands)\n",
                     parsed.error.c_str());
        return kExitRefused;
    }
    if (parsed.version) {
        std::printf("xk-r40-ctl %.*s\n", static_cast<int>(xk::kVersion.size()),
                    xk::kVersion.data());
        return kExitDone;
    }
    Command& command = parsed.command;
    if (command.verb == Verb::Help) {
        std::fputs(HelpText(command.helpTopic).c_str(), stdout);
        return kExitDone;
    }
    // Files are named from the folder xk-r40-ctl runs in, also when the program opens them.
    if (!command.file.empty()) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(command.file, error);
        if (!error) {
            command.file = absolute;
        }
    }

    const xk::ProgramFolders folders = xk::FoldersOfThisProgram();
    const std::filesystem::path& folder = folders.person;
    if (std::string noFolder; !xk::MakePersonFolder(folder, noFolder)) {
        std::fprintf(stderr, "xk-r40-ctl: %s\nNothing was changed.\n", noFolder.c_str());
        return kExitFailed;
    }
    ProgramInstance instance(xk::ConfigPathIn(folder).parent_path());
    switch (instance.TryLock()) {
    case xk::InstanceLock::Outcome::Taken:
        for (const std::string& line :
             xk::PreparePersonFiles(folders, xk::LanguageOfThisLocale())) {
            std::fprintf(stderr, "xk-r40-ctl: %s\n", line.c_str());
        }
        break;
    case xk::InstanceLock::Outcome::HeldByAnother:
        if (!instance.Socket().error.empty()) {
            std::fprintf(stderr, "xk-r40-ctl: xk-r40 runs, but cannot be reached: %s\n",
                         instance.Socket().error.c_str());
            return kExitFailed;
        }
        return AskProgram(instance.Socket().path.string(), CommandArguments(command));
    case xk::InstanceLock::Outcome::Failed:
        std::fprintf(stderr,
                     "xk-r40-ctl: cannot tell whether xk-r40 runs: %s\nNothing was changed.\n",
                     instance.Failure().toLocal8Bit().constData());
        return kExitFailed;
    }
    xk::CommandLine transport;
    if (parsed.virtualMouse) {
        if (parsed.virtualMouseSocket.empty()) {
            const xk::SocketPlace place = xk::DefaultVirtualMouseSocket();
            if (!place.error.empty()) {
                std::fprintf(stderr, "xk-r40-ctl: no socket for the virtual mouse: %s\n",
                             place.error.c_str());
                return kExitFailed;
            }
            transport.virtualMouseSocket = place.path.string();
        } else {
            transport.virtualMouseSocket = parsed.virtualMouseSocket;
        }
    }
    const bool writesFolder = command.verb != Verb::Status && command.verb != Verb::Functions &&
                              command.verb != Verb::ProfileExport &&
                              command.verb != Verb::MacrosList &&
                              command.verb != Verb::MacrosExport;
    // Every file xk-r40-ctl replaced would become root's, and the program, run by its user,
    // could no longer save them.
    if (writesFolder && xk::RootWouldTakeOver(folder)) {
        std::fprintf(stderr, "xk-r40-ctl: %s%s\nNothing was changed.\n", folder.c_str(),
                     xk::RootTakeOverAdvice("xk-r40-ctl").c_str());
        return kExitFailed;
    }
    LocalHost host(folders, transport);
    CommandOutput output;
    const int status = RunCommand(command, host, output);
    Print(output);
    return status;
}
