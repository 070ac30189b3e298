#include "ui/layout/LayoutReader.h"

#include "RecordingShell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace xk {
namespace {

using test::RecordingShell;
using test::TempDir;
using test::WriteFile;

struct SplitCase {
    const char* text;
    LayoutRow fields;
    bool tooManyCommas;
};

TEST(SplitLayoutRow, SplitsAtCommasFromTheLeft) {
    const SplitCase cases[] = {
        {"", {}, false},
        {"Left Click", {"Left Click"}, false},
        {"a,b", {"a", "b"}, false},
        {",100,50,80,20,Save", {"", "100", "50", "80", "20", "Save"}, false},
        {"1,2,3,4,5,6,7", {"1", "2", "3", "4", "5", "6", "7"}, false},
        {"1,2,3,4,5,6,7,8", {"1", "2", "3", "4", "5", "6", "7,8"}, true},
        {"1,2,3,4,5,6,,,", {"1", "2", "3", "4", "5", "6", ",,"}, true},
        {",,,,,,", {}, false},
    };
    for (const auto& c : cases) {
        const SplitRow row = SplitLayoutRow(c.text);
        EXPECT_EQ(row.fields, c.fields) << c.text;
        EXPECT_EQ(row.tooManyCommas, c.tooManyCommas) << c.text;
    }
}

class LayoutReaderTest : public ::testing::Test {
protected:
    TempDir dir;
    RecordingShell shell;
    LayoutReader reader{shell, shell};
};

TEST_F(LayoutReaderTest, RowOfSevenCommasShowsTheLoadErrorOnceAndKeepsTheRest) {
    const auto file = dir / "layout.ini";
    WriteFile(file, "[BUTTONPOS]\n0=,1,2,3,4,cap,x,y\n1=,1,2,3,4,cap,x\n");
    const LayoutRow row = reader.ReadLayoutRow(file, "BUTTONPOS", 0);
    EXPECT_EQ(row[5], "cap");
    EXPECT_EQ(row[6], "x,y");
    EXPECT_EQ(shell.messages, std::vector<std::string>{"加载ini错误！"});

    EXPECT_EQ(reader.ReadLayoutRow(file, "BUTTONPOS", 1)[6], "x");
    EXPECT_EQ(shell.messages.size(), 1U) << "six commas are no error";
    EXPECT_EQ(shell.exitCalls, 0);
}

TEST_F(LayoutReaderTest, MissingSectionOrRowGivesEmptyFieldsWithoutMessage) {
    const auto file = dir / "layout.ini";
    WriteFile(file, "[BUTTONPOS]\n0=,1,2,3,4,cap\n");
    EXPECT_EQ(reader.ReadLayoutRow(file, "BUTTONPOS", 7), LayoutRow{});
    EXPECT_EQ(reader.ReadLayoutRow(file, "EDIT", 0), LayoutRow{});
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_FALSE(reader.Stopped());
}

TEST_F(LayoutReaderTest, MissingFileShowsOneMessageExitsOnceAndReadsNothingMore) {
    const auto present = dir / "present.ini";
    WriteFile(present, "[BUTTONPOS]\n0=,1,2,3,4,cap\n");
    for (int32_t row = 0; row < 5; ++row) {
        EXPECT_EQ(reader.ReadLayoutRow(dir / "missing.ini", "BUTTONPOS", row), LayoutRow{});
    }
    EXPECT_EQ(reader.ReadLayoutRow(present, "BUTTONPOS", 0), LayoutRow{})
        << "no row of any layout is read after the exit procedure";
    EXPECT_EQ(shell.messages, std::vector<std::string>{"找不到配置文件"});
    EXPECT_EQ(shell.exitCalls, 1);
    EXPECT_TRUE(reader.Stopped());
}

TEST_F(LayoutReaderTest, RowIsCutTo259Characters) {
    const auto file = dir / "layout.ini";
    const std::string longCaption(300, 'a');
    WriteFile(file, "[FUN_STRING]\n1=" + longCaption + "\n2=名" + std::string(300, 'b') + "\n");
    EXPECT_EQ(reader.ReadLayoutRow(file, "FUN_STRING", 1)[0], std::string(259, 'a'));
    EXPECT_EQ(reader.ReadLayoutRow(file, "FUN_STRING", 2)[0], "名" + std::string(258, 'b'))
        << "the capacity counts characters, not bytes";
}

TEST_F(LayoutReaderTest, ReleaseLetsTheNextReadSeeAChangedFile) {
    const auto file = dir / "layout.ini";
    WriteFile(file, "[BUTTONPOS]\n0=old\n");
    EXPECT_EQ(reader.ReadLayoutRow(file, "BUTTONPOS", 0)[0], "old");
    WriteFile(file, "[BUTTONPOS]\n0=new\n");
    reader.Release();
    EXPECT_EQ(reader.ReadLayoutRow(file, "BUTTONPOS", 0)[0], "new");
}

} // namespace
} // namespace xk
