#include "platform/DesktopLauncher.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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

} // namespace
} // namespace xk
