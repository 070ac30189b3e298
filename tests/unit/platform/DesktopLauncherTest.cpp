#include "platform/DesktopLauncher.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace xk {
namespace {

void MakeProgram(const std::filesystem::path& file, bool executable) {
    test::WriteFile(file, "#!/bin/sh\n");
    ::chmod(file.c_str(), executable ? 0755 : 0644);
}

TEST(DesktopLauncherTest, TheFirstCandidateFoundOnThePathWins) {
    test::TempDir a;
    test::TempDir b;
    MakeProgram(a / "xcalc", true);
    MakeProgram(b / "kcalc", true);
    MakeProgram(a / "gnome-calculator", false);          // not executable: skipped
    std::filesystem::create_directory(b / "galculator"); // a directory: skipped
    const std::string path = a.path().string() + "::" + b.path().string();
    const auto& calculators = DesktopLauncher::Candidates(LaunchTarget::Calculator);

    EXPECT_EQ(DesktopLauncher::FindProgram(calculators, path), (b / "kcalc").string());
    EXPECT_EQ(DesktopLauncher::FindProgram(calculators, a.path().string()), (a / "xcalc").string());
    EXPECT_EQ(
        DesktopLauncher::FindProgram(DesktopLauncher::Candidates(LaunchTarget::Terminal), path),
        "");
    EXPECT_EQ(DesktopLauncher::FindProgram(calculators, ""), "");
}

TEST(DesktopLauncherTest, LaunchStartsTheProgramDetached) {
    test::TempDir dir;
    const auto marker = dir / "started";
    test::WriteFile(dir / "xterm", "#!/bin/sh\necho started > '" + marker.string() + "'\n");
    ::chmod((dir / "xterm").c_str(), 0755);
    const char* saved = std::getenv("PATH");
    const std::string restore = saved != nullptr ? saved : "";
    ::setenv("PATH", dir.path().c_str(), 1);

    DesktopLauncher().Launch(LaunchTarget::Terminal);

    ::setenv("PATH", restore.c_str(), 1);
    for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i) {
        ::usleep(10000);
    }
    EXPECT_TRUE(std::filesystem::exists(marker));
}

// Started from a worker thread that has SIGPIPE ignored, a signal blocked and a raised
// priority, the program starts with the defaults: nothing ignored, nothing blocked, the
// process's own nice value.
TEST(DesktopLauncherTest, TheStartedProgramInheritsNoSignalStateOrPriority) {
    test::TempDir dir;
    const auto marker = dir / "state";
    test::WriteFile(dir / "xterm", "#!/bin/sh\nPATH=/usr/bin:/bin\n"
                                   "{ grep -E '^Sig(Ign|Blk):' /proc/$$/status;"
                                   " echo \"nice: $(cut -d' ' -f19 /proc/$$/stat)\"; } > '" +
                                       marker.string() + ".part' && mv '" + marker.string() +
                                       ".part' '" + marker.string() + "'\n");
    ::chmod((dir / "xterm").c_str(), 0755);
    const char* saved = std::getenv("PATH");
    const std::string restore = saved != nullptr ? saved : "";
    ::setenv("PATH", dir.path().c_str(), 1);
    struct sigaction ignore {};
    struct sigaction before {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &before);
    const int processNice = ::getpriority(PRIO_PROCESS, 0);

    std::thread worker([] {
        sigset_t blocked;
        ::sigemptyset(&blocked);
        ::sigaddset(&blocked, SIGUSR2);
        ::pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
        // A raise needs privileges; a thread without them starts the program as it is.
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), -5);
        DesktopLauncher().Launch(LaunchTarget::Terminal);
    });
    worker.join();
    ::sigaction(SIGPIPE, &before, nullptr);
    ::setenv("PATH", restore.c_str(), 1);

    for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i) {
        ::usleep(10000);
    }
    const std::string state = test::ReadFile(marker);
    EXPECT_NE(state.find("SigIgn:\t0000000000000000\n"), std::string::npos) << state;
    EXPECT_NE(state.find("SigBlk:\t0000000000000000\n"), std::string::npos) << state;
    EXPECT_NE(state.find("nice: " + std::to_string(processNice) + "\n"), std::string::npos)
        << state;
}

} // namespace
} // namespace xk
