#include "platform/ProgramFolders.h"
#include "platform/LocaleLanguage.h"
#include "settings/Language.h"

#include <gtest/gtest.h>

#include <set>

namespace xk {
namespace {

namespace fs = std::filesystem;
using Var = std::optional<std::string>;

TEST(ProgramFolders, ExecutableDirectoryIsEverythingBeforeTheLastSlash) {
    EXPECT_EQ(DirectoryOfProgram("/opt/xk r40/bin/xk-r40"), fs::path("/opt/xk r40/bin"));
    EXPECT_EQ(DirectoryOfProgram("/xk-r40"), fs::path(""));
    EXPECT_EQ(DirectoryOfProgram("xk-r40"), fs::path(""));
    EXPECT_FALSE(ExecutableDirectory().empty());
}

TEST(ProgramFolders, PersonFolderFollowsTheEnvironment) {
    struct Case {
        Var xdgConfigHome;
        Var home;
        std::string accountHome;
        fs::path expected;
    };
    const Case cases[] = {
        {"/x/conf", "/home/a", "/home/acct", "/x/conf/xk-r40"},
        {"/x/my conf/", "/home/a", "", "/x/my conf/xk-r40"},
        {std::nullopt, "/home/a", "/home/acct", "/home/a/.config/xk-r40"},
        {"", "/home/a", "/home/acct", "/home/a/.config/xk-r40"},
        // A relative XDG_CONFIG_HOME or HOME is not meant for anyone.
        {"conf", "/home/a", "/home/acct", "/home/a/.config/xk-r40"},
        {std::nullopt, std::nullopt, "/home/acct", "/home/acct/.config/xk-r40"},
        {std::nullopt, "", "/home/acct", "/home/acct/.config/xk-r40"},
        {"conf", "home", "/home/acct", "/home/acct/.config/xk-r40"},
        {std::nullopt, std::nullopt, "", ""},
        {"", "", "relative", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PersonFolderFor({c.xdgConfigHome, c.home, c.accountHome}), c.expected)
            << c.xdgConfigHome.value_or("(unset)") << " " << c.home.value_or("(unset)") << " "
            << c.accountHome;
    }
}

TEST(ProgramFolders, DataBesideTheExecutableOrInItsPrefix) {
    struct Case {
        fs::path executableDirectory;
        std::set<fs::path> folders;
        fs::path data;
        fs::path former;
    };
    const Case cases[] = {
        {"/usr/bin", {"/usr/share/xk-r40"}, "/usr/share/xk-r40", "/usr/lib/xk-r40"},
        {"/home/a/.local/bin",
         {"/home/a/.local/share/xk-r40", "/home/a/.local/lib/xk-r40"},
         "/home/a/.local/share/xk-r40",
         "/home/a/.local/lib/xk-r40"},
        // A build folder: its data lies beside the program, and no install came before.
        {"/src/build/dev/bin", {}, "/src/build/dev/bin", ""},
        {"/opt/xk", {"/opt/share/xk-r40"}, "/opt/xk", ""},
        // The former layout's own executable, with nothing installed beside it.
        {"/home/a/.local/lib/xk-r40",
         {"/home/a/.local/lib/share/xk-r40"},
         "/home/a/.local/lib/xk-r40",
         ""},
    };
    for (const Case& c : cases) {
        const ProgramFolders folders =
            FoldersOf(c.executableDirectory, {"/conf", std::nullopt, ""},
                      [&](const fs::path& path) { return c.folders.contains(path); });
        EXPECT_EQ(folders.data, c.data) << c.executableDirectory;
        EXPECT_EQ(folders.former, c.former) << c.executableDirectory;
        EXPECT_EQ(folders.person, fs::path("/conf/xk-r40"));
    }
}

TEST(LocaleLanguage, ChineseOnlyWhereTheDecidingVariableSaysSo) {
    struct Case {
        Var lcAll;
        Var lcMessages;
        Var lang;
        int32_t expected;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, "zh_CN.UTF-8", kLanguageChinese},
        {std::nullopt, std::nullopt, "zh_TW.UTF-8", kLanguageChinese},
        {std::nullopt, std::nullopt, "zh", kLanguageChinese},
        {std::nullopt, std::nullopt, "zh@pinyin", kLanguageChinese},
        {std::nullopt, std::nullopt, "en_US.UTF-8", kLanguageEnglish},
        {std::nullopt, std::nullopt, "C.UTF-8", kLanguageEnglish},
        {std::nullopt, std::nullopt, std::nullopt, kLanguageEnglish},
        // Not a Chinese locale, though it starts with the letters.
        {std::nullopt, std::nullopt, "zha_CN", kLanguageEnglish},
        // LC_ALL over LC_MESSAGES over LANG; an empty one does not decide.
        {"en_GB.UTF-8", "zh_CN.UTF-8", "zh_CN.UTF-8", kLanguageEnglish},
        {"zh_CN.UTF-8", "en_GB.UTF-8", "en_GB.UTF-8", kLanguageChinese},
        {std::nullopt, "zh_HK.UTF-8", "en_GB.UTF-8", kLanguageChinese},
        {"", "", "zh_CN.UTF-8", kLanguageChinese},
        {"", "en_US.UTF-8", "zh_CN.UTF-8", kLanguageEnglish},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageOfLocale({c.lcAll, c.lcMessages, c.lang}), c.expected)
            << c.lcAll.value_or("(unset)") << " " << c.lcMessages.value_or("(unset)") << " "
            << c.lang.value_or("(unset)");
    }
}

} // namespace
} // namespace xk
