#include "app/ProgramDirectory.h"
#include "app/SingleInstance.h"
#include "support/TempDir.h"

#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

namespace xk::test {
namespace {

TEST(ProgramDirectory, EverythingBeforeTheLastSlash) {
    EXPECT_EQ(DirectoryOfProgram("/opt/xk r40/bin/xk-r40"),
              std::filesystem::path("/opt/xk r40/bin"));
    EXPECT_EQ(DirectoryOfProgram("/xk-r40"), std::filesystem::path(""));
    EXPECT_EQ(DirectoryOfProgram("xk-r40"), std::filesystem::path(""));
    EXPECT_FALSE(ProgramDirectory().empty());
}

TEST(SingleInstance, SecondStartAsksTheFirstToShow) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.path().string());
    SingleInstance first(path);
    ASSERT_TRUE(first.BecomeFirst());
    QSignalSpy shown(&first, &SingleInstance::showRequested);

    SingleInstance second(path);
    EXPECT_FALSE(second.BecomeFirst());
    EXPECT_TRUE(second.AskFirstToShow());
    EXPECT_TRUE(shown.wait(5000));
}

TEST(SingleInstance, LockOfAProgramThatIsGoneIsTakenOver) {
    TempDir dir;
    // A lock file written by a process that no longer runs, and its socket file.
    {
        std::ofstream lock(dir / "CNUV_DEvoraApp.lock");
        lock << "999999\nxk-r40\n" << QSysInfo::machineHostName().toStdString() << "\n";
        std::ofstream socket(dir / "CNUV_DEvoraApp");
    }
    SingleInstance instance(QString::fromStdString(dir.path().string()));
    EXPECT_TRUE(instance.BecomeFirst());
    SingleInstance later(QString::fromStdString(dir.path().string()));
    EXPECT_FALSE(later.BecomeFirst());
}

TEST(SingleInstance, ALockThatCannotBeTakenSaysWhy) {
    TempDir dir;
    std::ofstream(dir / "not-a-folder") << "x";
    SingleInstance blocked(QString::fromStdString((dir / "not-a-folder").string()));
    EXPECT_FALSE(blocked.BecomeFirst());
    EXPECT_FALSE(blocked.Failure().isEmpty());

    const QString path = QString::fromStdString(dir.path().string());
    SingleInstance first(path);
    ASSERT_TRUE(first.BecomeFirst());
    SingleInstance second(path);
    EXPECT_FALSE(second.BecomeFirst());
    EXPECT_TRUE(second.Failure().isEmpty()) << "another instance is no failure";
}

} // namespace
} // namespace xk::test
