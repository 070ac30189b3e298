#include "platform/PersonFiles.h"

#include "settings/Language.h"
#include "settings/SettingsIo.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace xk {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

constexpr const char* kDeliveredConfig = "[Init]\r\nCurConfig=1\r\nVER_SEL=1\r\n";

// Bytes of a former file, a NUL and a byte that is no text among them.
std::string FormerBytes(const char* name) {
    return std::string("old ") + name + std::string("\r\n\xff\0x", 5);
}

mode_t ModeOf(const fs::path& file) {
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

class PersonFilesTest : public ::testing::Test {
protected:
    PersonFilesTest() {
        folders.data = dir / "share";
        folders.person = dir / "conf" / "xk-r40";
        folders.former = dir / "lib" / "xk-r40";
        fs::create_directories(folders.data);
        fs::create_directories(folders.person);
        WriteFile(folders.data / "config.ini", kDeliveredConfig);
        WriteFile(folders.data / "Macro_EN.dat", "[Macros]\r\nmacroNum=0\r\n");
        WriteFile(folders.data / "Macro_CN.dat", "[Macros]\r\nmacroNum=0\r\n");
    }

    // The former folder with the three files, each of its own bytes and mode 0640.
    void MakeFormerFiles() {
        fs::create_directories(folders.former);
        for (const char* name : kPersonFileNames) {
            WriteFile(folders.former / name, FormerBytes(name));
            ::chmod((folders.former / name).c_str(), 0640);
        }
    }

    TempDir dir;
    ProgramFolders folders;
};

TEST_F(PersonFilesTest, FormerFilesMoveInAsTheyAreOnce) {
    MakeFormerFiles();
    const auto said = PreparePersonFiles(folders, kLanguageChinese);
    ASSERT_EQ(said.size(), 3u);
    for (const char* name : kPersonFileNames) {
        EXPECT_EQ(ReadFile(folders.person / name), FormerBytes(name)) << name;
        EXPECT_EQ(ModeOf(folders.person / name), 0640u) << name;
        EXPECT_THAT(said, testing::Contains(
                              HasSubstr(std::string("moved ") + (folders.former / name).string())));
    }
    EXPECT_FALSE(fs::exists(folders.former));

    // A former install laid down again: nothing moves a second time.
    MakeFormerFiles();
    EXPECT_TRUE(PreparePersonFiles(folders, kLanguageEnglish).empty());
    EXPECT_TRUE(fs::exists(folders.former / "config.ini"));
    EXPECT_EQ(ReadFile(folders.person / "Macro_EN.dat"), FormerBytes("Macro_EN.dat"));
}

TEST_F(PersonFilesTest, AFileAlreadyThereIsNeverReplaced) {
    MakeFormerFiles();
    WriteFile(folders.person / "Macro_EN.dat", "mine");
    const auto said = PreparePersonFiles(folders, kLanguageEnglish);
    EXPECT_EQ(ReadFile(folders.person / "Macro_EN.dat"), "mine");
    EXPECT_EQ(ReadFile(folders.former / "Macro_EN.dat"), FormerBytes("Macro_EN.dat"));
    EXPECT_EQ(ReadFile(folders.person / "config.ini"), FormerBytes("config.ini"));
    EXPECT_THAT(said,
                testing::Contains(HasSubstr("kept " + (folders.former / "Macro_EN.dat").string())));
}

TEST_F(PersonFilesTest, ARelativeLinkStaysALinkToTheSameFile) {
    fs::create_directories(folders.former);
    fs::create_directories(dir / "dotfiles");
    WriteFile(dir / "dotfiles" / "config.ini", "linked");
    fs::create_symlink("../../dotfiles/config.ini", folders.former / "config.ini");
    PreparePersonFiles(folders, kLanguageEnglish);
    ASSERT_TRUE(fs::is_symlink(folders.person / "config.ini"));
    EXPECT_TRUE(fs::equivalent(folders.person / "config.ini", dir / "dotfiles" / "config.ini"));
    EXPECT_EQ(ReadFile(dir / "dotfiles" / "config.ini"), "linked");
    EXPECT_FALSE(fs::exists(fs::symlink_status(folders.former / "config.ini")));
}

TEST_F(PersonFilesTest, MissingFilesComeFromTheDeliveredOnesWithTheLocalesLanguage) {
    for (const int32_t language : {kLanguageChinese, kLanguageEnglish}) {
        fs::remove_all(folders.person);
        fs::create_directories(folders.person);
        EXPECT_TRUE(PreparePersonFiles(folders, language).empty());
        for (const char* name : kPersonFileNames) {
            EXPECT_EQ(ModeOf(folders.person / name), 0600u) << name;
        }
        EXPECT_EQ(ReadFile(folders.person / "Macro_CN.dat"), "[Macros]\r\nmacroNum=0\r\n");
        EXPECT_EQ(ReadLanguage(folders.person / "config.ini"), language);
        EXPECT_EQ(ReadCurrentConfig(folders.person / "config.ini"), 1);
    }
    // After that the file's own language rules.
    WriteLanguage(folders.person / "config.ini", kLanguageChinese);
    PreparePersonFiles(folders, kLanguageEnglish);
    EXPECT_EQ(ReadLanguage(folders.person / "config.ini"), kLanguageChinese);
}

TEST_F(PersonFilesTest, NothingDeliveredLeavesTheFileMissing) {
    fs::remove(folders.data / "config.ini");
    PreparePersonFiles(folders, kLanguageChinese);
    EXPECT_FALSE(fs::exists(folders.person / "config.ini"));
    EXPECT_TRUE(fs::exists(folders.person / "Macro_EN.dat"));
}

TEST(PersonFolder, MadeWithItsParentsForTheUserAlone) {
    TempDir dir;
    std::string problem;
    ASSERT_TRUE(MakePersonFolder(dir / "a" / "b" / "xk-r40", problem)) << problem;
    EXPECT_EQ(ModeOf(dir / "a"), 0700u);
    EXPECT_EQ(ModeOf(dir / "a" / "b" / "xk-r40"), 0700u);
    WriteFile(dir / "file", "x");
    EXPECT_FALSE(MakePersonFolder(dir / "file" / "xk-r40", problem));
    EXPECT_THAT(problem, HasSubstr((dir / "file").string()));
    EXPECT_FALSE(MakePersonFolder({}, problem));
    EXPECT_THAT(problem, HasSubstr("HOME"));
}

} // namespace
} // namespace xk
