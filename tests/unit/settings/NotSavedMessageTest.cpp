#include "settings/NotSavedMessage.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace xk
