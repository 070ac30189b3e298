#include "settings/NotSavedMessage.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <vector>

namespace xk {
namespace {

TEST(NotSavedMessage, NamesEveryFileInTheInterfaceLanguage) {
    const std::vector<std::filesystem::path> files = {"/opt/xk-r40/config.ini",
                                                      "/opt/xk-r40/Macro_CN.dat"};
    const std::string english = NotSavedMessage(files, 1);
    const std::string chinese = NotSavedMessage(files, 0);
    for (const auto& file : files) {
        EXPECT_NE(english.find("\n" + file.string() + "\n"), std::string::npos) << english;
        EXPECT_NE(chinese.find("\n" + file.string() + "\n"), std::string::npos) << chinese;
    }
    EXPECT_EQ(english.rfind("Cannot save to\n", 0), 0u) << english;
    EXPECT_EQ(chinese.rfind("无法保存到\n", 0), 0u) << chinese;
    EXPECT_EQ(NotSavedMessage(files, 7), english) << "any other value is English";
}

// Run as root over another user's file: the reason given is the owner, in the words
// xk-r40-ctl uses, not the folder or the disk.
TEST(NotSavedMessage, NamesTheOwnerWhenRootIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root";
    }
    test::TempDir dir;
    const auto file = dir / "config.ini";
    test::WriteFile(file, "");
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    const std::vector<std::filesystem::path> files = {file};
    const std::string text = NotSavedMessage(files, 1);
    EXPECT_NE(
        text.find(file.string() + " belongs to another user than root; run xk-r40 as that user"),
        std::string::npos)
        << text;
    EXPECT_EQ(text.find("read-only"), std::string::npos) << text;
}

} // namespace
} // namespace xk
