#include "device/StartPointerSetting.h"

#include "support/TempDir.h"
#include "support/fakes/RecordingSystemSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace xk {
namespace {

using Calls = std::vector<std::string>;

TEST(StartPointerSetting, TheExitPutsBackWhatTheDesktopHadAtStart) {
    test::TempDir dir;
    const auto file = dir / kStartPointerFileName;
    test::RecordingSystemSettings system;
    system.pointerSpeed = 16; // the person's own speed, not the default
    StartPointerSetting start(system, file);
    start.Keep();
    EXPECT_EQ(test::ReadFile(file), "fake 16\n") << "kept until the exit has put it back";
    system.SetPointerSpeed(3); // an upload
    system.calls.clear();
    start.PutBack();
    EXPECT_EQ(system.calls, Calls{"restore fake 16"});
    EXPECT_EQ(system.pointerSpeed, 16);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(StartPointerSetting, AStartAfterACrashPutsBackTheSettingOfBeforeIt) {
    test::TempDir dir;
    const auto file = dir / kStartPointerFileName;
    test::RecordingSystemSettings system;
    system.pointerSpeed = 16;
    StartPointerSetting crashed(system, file);
    crashed.Keep();
    system.SetPointerSpeed(3); // the upload; then the program is killed

    StartPointerSetting next(system, file);
    system.calls.clear();
    next.Keep();
    EXPECT_EQ(system.calls, Calls{"restore fake 16"})
        << "the program's 3 is not taken for the person's";
    system.SetPointerSpeed(5);
    next.PutBack();
    EXPECT_EQ(system.pointerSpeed, 16);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(StartPointerSetting, AFileThatHoldsNoSettingIsNotPutBack) {
    for (const std::string& bytes : {std::string(), std::string("fake 7\nmore\n"),
                                     std::string("fake \x01\n"), std::string(5000, 'a')}) {
        test::TempDir dir;
        const auto file = dir / kStartPointerFileName;
        test::WriteFile(file, bytes);
        test::RecordingSystemSettings system;
        system.pointerSpeed = 12;
        StartPointerSetting start(system, file);
        start.Keep();
        EXPECT_EQ(system.calls, Calls{"get setting"}) << bytes.substr(0, 20);
        EXPECT_EQ(test::ReadFile(file), "fake 12\n");
    }
}

TEST(StartPointerSetting, WithoutASettingToReadTheExitSetsTheDefaultWhereItCan) {
    test::TempDir dir;
    const auto file = dir / kStartPointerFileName;
    test::RecordingSystemSettings system;
    system.pointerSpeed.reset();
    StartPointerSetting start(system, file);
    start.Keep();
    EXPECT_FALSE(std::filesystem::exists(file));
    system.calls.clear();
    start.PutBack();
    EXPECT_EQ(system.calls, Calls{"get speed"}) << "nothing is set where nothing can be read";
}

} // namespace
} // namespace xk
