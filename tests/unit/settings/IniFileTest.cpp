#include "settings/IniFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace xk {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(IniRead, FindsValuesWithPrivateProfileRules) {
    TempDir dir;
    const auto file = dir / "a.ini";
    WriteFile(file, "; comment\n"
                    "[Init]\n"
                    "CurConfig=3\n"
                    "  Spaced Key  =   spaced value  \n"
                    "Quoted=\"  inner  \"\n"
                    "Half=\"open\n"
                    "Empty=\n"
                    "[ other ]\n"
                    "CurConfig=9\n"
                    "[INIT]\n"
                    "Late=1\n");
    struct Case {
        const char* section;
        const char* key;
        size_t capacity;
        const char* value;
    };
    const Case cases[] = {
        {"Init", "CurConfig", 100, "3"},
        {"init", "curconfig", 100, "3"}, // names match without regard to case
        {"Init", "Spaced Key", 100, "spaced value"},
        {"Init", "Quoted", 100, "  inner  "}, // quotes dropped, inner blanks kept
        {"Init", "Half", 100, "\"open"},
        {"Init", "Empty", 100, ""},
        {"other", "CurConfig", 100, "9"},
        {"Init", "Late", 100, ""}, // only the first matching section is read
        {"Init", "Missing", 100, ""},
        {"Missing", "CurConfig", 100, ""},
        {"Init", "Spaced Key", 5, "spac"}, // capacity - 1 characters
        {"Init", "Spaced Key", 1, ""},
        {"Init", "Spaced Key", 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IniRead(file, c.section, c.key, c.capacity), c.value)
            << c.section << "/" << c.key << " capacity " << c.capacity;
    }
    EXPECT_EQ(IniRead(dir / "none.ini", "Init", "CurConfig", 100), "");
}

TEST(IniRead, LinesEndInCrLfLfOrABareCr) {
    TempDir dir;
    for (const char* newline : {"\r\n", "\n", "\r"}) {
        const auto file = dir / "a.ini";
        const std::string nl = newline;
        WriteFile(file, "[A]" + nl + "x=1" + nl + "[B]" + nl + "y=2" + nl);
        EXPECT_EQ(IniRead(file, "A", "x", 10), "1") << testing::PrintToString(nl);
        EXPECT_EQ(IniRead(file, "B", "y", 10), "2") << testing::PrintToString(nl);
        EXPECT_EQ(IniRead(file, "A", "y", 10), "") << testing::PrintToString(nl);
    }
}

TEST(IniRead, CutsByCharactersNotBytes) {
    TempDir dir;
    const auto file = dir / "a.ini";
    WriteFile(file, "[M]\nname=宏一二三\n");
    EXPECT_EQ(IniRead(file, "M", "name", 3), "宏一");
}

TEST(IniWrite, ChangesOnlyWhatItWrites) {
    struct Case {
        const char* name;
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    };
    const Case cases[] = {
        {"replace keeps comments and order", "; top\n[A]\nx=1\n; mid\ny=2\n[B]\nx=3\n", "a", "Y",
         "7", "; top\n[A]\nx=1\n; mid\ny=7\n[B]\nx=3\n"},
        {"new key after the section's last key", "[A]\nx=1\n\n[B]\nx=3\n", "A", "z", "5",
         "[A]\nx=1\nz=5\n\n[B]\nx=3\n"},
        {"new section at the end", "[A]\nx=1\n", "C", "k", "v", "[A]\nx=1\n[C]\nk=v\n"},
        {"missing line end is mended", "[A]\nx=1", "C", "k", "v", "[A]\nx=1\n[C]\nk=v\n"},
        {"CRLF stays CRLF", "[A]\r\nx=1\r\n", "A", "x", "2", "[A]\r\nx=2\r\n"},
        {"LF stays LF", "[A]\nx=1\n", "A", "x", "2", "[A]\nx=2\n"},
        {"bare CR stays bare CR", "[A]\rx=1\r", "A", "y", "2", "[A]\rx=1\ry=2\r"},
        {"empty file: CR LF as Windows writes", "", "A", "x", "1", "[A]\r\nx=1\r\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const auto file = dir / "a.ini";
        WriteFile(file, c.before);
        EXPECT_TRUE(IniWrite(file, c.section, c.key, c.value));
        EXPECT_EQ(ReadFile(file), c.after) << c.name;
    }
}

TEST(IniWrite, CreatesAMissingFile) {
    TempDir dir;
    const auto file = dir / "new.ini";
    EXPECT_TRUE(IniWrite(file, "Init", "CurConfig", "2"));
    EXPECT_EQ(ReadFile(file), "[Init]\r\nCurConfig=2\r\n");
    EXPECT_EQ(std::filesystem::status(file).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
        << "a new file is readable by others";
    EXPECT_FALSE(IniWrite(dir / "no-such-dir" / "x.ini", "Init", "CurConfig", "2"));
}

TEST(IniWrite, KeepsTheEncodingItRead) {
    TempDir dir;
    const auto utf16 = dir / "w.ini";
    // "[A]\r\nn=宏\r\n" in UTF-16LE with a byte-order mark.
    const std::string wide("\xFF\xFE[\0A\0]\0\r\0\n\0n\0=\0\x8F\x5B\r\0\n\0", 22);
    WriteFile(utf16, wide);
    EXPECT_EQ(IniRead(utf16, "A", "n", 10), "宏");
    EXPECT_TRUE(IniWrite(utf16, "A", "m", "1"));
    const std::string expected = wide + std::string("m\0=\0\x31\0\r\0\n\0", 10);
    EXPECT_EQ(ReadFile(utf16), expected);

    const auto bom = dir / "b.ini";
    WriteFile(bom, "\xEF\xBB\xBF[A]\nn=1\n");
    EXPECT_EQ(IniRead(bom, "a", "N", 10), "1");
    EXPECT_TRUE(IniWrite(bom, "A", "n", "2"));
    EXPECT_EQ(ReadFile(bom), "\xEF\xBB\xBF[A]\nn=2\n");
}

// A write cut short by the file-size limit (a full disk behaves alike) leaves the old file.
TEST(IniWrite, AWriteCutShortLeavesTheOldFileWhole) {
    TempDir dir;
    const auto file = dir / "config.ini";
    const std::string before = "[Init]\nCurConfig=1\n";
    WriteFile(file, before);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool written = IniWrite(file, "Init", "VER_SEL", std::string(200, '1'));
        _exit(written ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the cut-short write reported success";
    EXPECT_EQ(ReadFile(file), before);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename(), "config.ini") << "temporary file left behind";
    }
}

TEST(IniWrite, KeepsTheFilesPermissions) {
    TempDir dir;
    const auto file = dir / "config.ini";
    WriteFile(file, "[Init]\r\nCurConfig=1\r\n");
    const auto perms = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    std::filesystem::permissions(file, perms);
    EXPECT_TRUE(IniWrite(file, "Init", "CurConfig", "2"));
    EXPECT_EQ(std::filesystem::status(file).permissions(), perms);
    EXPECT_EQ(ReadFile(file), "[Init]\r\nCurConfig=2\r\n");
}

// A folder that takes no new file (no temporary file beside config.ini) with a writable
// config.ini in it: the change is written in place rather than dropped. Run as another user
// where the tests run as root, whom no folder refuses.
TEST(IniWrite, AReadOnlyFolderWithAWritableFileGetsTheChangeInPlace) {
    TempDir dir;
    const auto folder = dir / "program";
    std::filesystem::create_directory(folder);
    const auto file = folder / "config.ini";
    WriteFile(file, "[Init]\r\nCurConfig=1\r\n");
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0) {
        std::filesystem::permissions(dir.path(), std::filesystem::perms::others_exec,
                                     std::filesystem::perm_options::add);
        ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
    }
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_exec);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            _exit(2);
        }
        const bool written = IniWrite(file, "Init", "CurConfig", "2");
        const bool newFile = IniWrite(folder / "other.ini", "A", "x", "1");
        _exit(written && !newFile ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the change was dropped, or a file was created";
    EXPECT_EQ(ReadFile(file), "[Init]\r\nCurConfig=2\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1)
        << "a file was left beside config.ini";
}

// A dotfile manager's link (or a chain of them): the write reaches the target, atomically
// there, and the link stays a link. A loop of links is refused and creates nothing.
TEST(IniWrite, WritesThroughSymbolicLinks) {
    namespace fs = std::filesystem;
    TempDir dir;
    fs::create_directory(dir / "dotfiles");
    fs::create_directory(dir / "program");
    WriteFile(dir / "dotfiles" / "config.ini", "[Init]\r\nCurConfig=1\r\n");
    fs::create_symlink("config.ini", dir / "dotfiles" / "current.ini");
    fs::create_symlink("../dotfiles/current.ini", dir / "program" / "config.ini");

    EXPECT_TRUE(IniWrite(dir / "program" / "config.ini", "Init", "CurConfig", "3"));
    EXPECT_TRUE(fs::is_symlink(dir / "program" / "config.ini"));
    EXPECT_TRUE(fs::is_symlink(dir / "dotfiles" / "current.ini"));
    EXPECT_EQ(ReadFile(dir / "dotfiles" / "config.ini"), "[Init]\r\nCurConfig=3\r\n");
    for (const char* folder : {"dotfiles", "program"}) {
        for (const auto& entry : fs::directory_iterator(dir / folder)) {
            EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
                << "temporary file left behind: " << entry.path();
        }
    }

    fs::create_symlink("b.ini", dir / "a.ini");
    fs::create_symlink("a.ini", dir / "b.ini");
    EXPECT_FALSE(IniWrite(dir / "a.ini", "A", "x", "1"));
    EXPECT_TRUE(fs::is_symlink(dir / "a.ini"));
    EXPECT_TRUE(fs::is_symlink(dir / "b.ini"));
}

// What a killed save leaves (the file's name, ".tmp", digits, '-', digits) goes; anything
// else that merely looks alike stays.
TEST(IniWrite, LeftoverTemporariesAreRemovedAndNothingElse) {
    TempDir dir;
    const std::vector<std::pair<std::string, bool>> files = {
        {"config.ini.tmp3735928559-0", true},
        {"config.ini.tmp1-12", true},
        {"config.ini", false},
        {"config.ini.tmp", false},
        {"config.ini.tmp12", false},
        {"config.ini.tmp12-", false},
        {"config.ini.tmpx-1", false},
        {"config.ini.tmp1-2.bak", false},
        {"other.ini.tmp1-2", false},
        {"xconfig.ini.tmp1-2", false},
    };
    for (const auto& [name, leftover] : files) {
        WriteFile(dir / name, "x");
    }
    RemoveLeftoverTemporaries(dir / "config.ini");
    for (const auto& [name, leftover] : files) {
        EXPECT_NE(std::filesystem::exists(dir / name), leftover) << name;
    }
}

// Run as root, the program must not hand a user's file to root: replacing a file of another
// user, or creating one in another user's folder, is refused and leaves both as they were.
TEST(IniWrite, RootLeavesAnotherUsersFilesAlone) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root";
    }
    constexpr uid_t kNobody = 65534;
    TempDir dir;
    const auto folder = dir / "home";
    std::filesystem::create_directory(folder);
    const auto file = folder / "config.ini";
    const std::string before = "[Init]\r\nCurConfig=1\r\n";
    WriteFile(file, before);
    ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);

    EXPECT_FALSE(IniWrite(file, "Init", "CurConfig", "2"));
    EXPECT_FALSE(IniWrite(folder / "Macro_EN.dat", "Macros", "macroNum", "0"));
    EXPECT_EQ(ReadFile(file), before);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_FALSE(std::filesystem::exists(folder / "Macro_EN.dat"));

    // Root's own files are written as before.
    WriteFile(dir / "root.ini", before);
    EXPECT_TRUE(IniWrite(dir / "root.ini", "Init", "CurConfig", "2"));
}

TEST(IniBatch, GivesTheSameFileAsKeyByKeyWrites) {
    TempDir dir;
    const std::string start = "[B]\nk=1\n; note\n[A]\nz=0\n";
    WriteFile(dir / "one.ini", start);
    WriteFile(dir / "many.ini", start);
    // Lines added to the first section move the later ones; each write finds its place anew.
    const std::pair<const char*, const char*> writes[] = {
        {"A", "x"}, {"B", "k"}, {"C", "y"}, {"B", "n"}, {"A", "z"},
        {"C", "x"}, {"b", "m"}, {"A", "x"}, {"c", "y"}, {"B", "n"}};
    IniBatch batch(dir / "one.ini");
    int n = 0;
    for (const auto& [section, key] : writes) {
        const std::string value = std::to_string(++n);
        batch.Set(section, key, value);
        IniWrite(dir / "many.ini", section, key, value);
    }
    EXPECT_TRUE(batch.Commit());
    EXPECT_EQ(ReadFile(dir / "one.ini"), ReadFile(dir / "many.ini"));
}

} // namespace
} // namespace xk
