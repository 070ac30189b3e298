#include "ui/layout/LayoutLoader.h"

#include "RecordingShell.h"
#include "support/TempDir.h"
#include "ui/layout/LayoutPaths.h"

#include <gtest/gtest.h>

#include <limits>

namespace xk {
namespace {

using test::RecordingShell;
using test::TempDir;
using test::WriteFile;

constexpr int32_t kEnglish = 1;
constexpr int32_t kChinese = 0;

class LayoutLoaderTest : public ::testing::Test {
protected:
    void Write(LayoutKind kind, int32_t language, std::string_view text) {
        const auto path = LayoutPath(dir.path(), kind, language);
        std::filesystem::create_directories(path.parent_path());
        WriteFile(path, text);
    }
    void WriteAll(int32_t language) {
        for (auto kind :
             {LayoutKind::Main, LayoutKind::Light, LayoutKind::Advanced, LayoutKind::Warning}) {
            Write(kind, language, "");
        }
    }

    TempDir dir;
    RecordingShell shell;
    LayoutReader reader{shell, shell};
    SkinLayout layout;
};

TEST(LayoutPaths, FollowTheLanguage) {
    const std::filesystem::path skins = "/p/skins";
    EXPECT_EQ(LayoutPath(skins, LayoutKind::Main, 1), "/p/skins/INI_EN/skin_main_en.ini");
    EXPECT_EQ(LayoutPath(skins, LayoutKind::Light, 1), "/p/skins/INI_EN/skin_color_en.ini");
    EXPECT_EQ(LayoutPath(skins, LayoutKind::Advanced, 2), "/p/skins/INI_EN/skin_advance_en.ini");
    EXPECT_EQ(LayoutPath(skins, LayoutKind::Warning, 1), "/p/skins/INI_EN/LBWarning_en.ini");
    EXPECT_EQ(LayoutPath(skins, LayoutKind::Main, 0), "/p/skins/INI_CN/skin_main.ini");
    EXPECT_EQ(LayoutPath(skins, LayoutKind::Light, 0), "/p/skins/INI_CN/skin_color.ini");
    EXPECT_EQ(LayoutPath(skins, LayoutKind::Advanced, 0), "/p/skins/INI_CN/skin_advance.ini");
    EXPECT_EQ(LayoutPath(skins, LayoutKind::Warning, 0), "/p/skins/INI_CN/LBWarning.ini");
}

TEST(Element, ContainsItsLeftAndTopEdgesButNotItsRightAndBottom) {
    const Element e{100, 50, 80, 20};
    EXPECT_EQ(e.Bounds(), (Rect{100, 50, 180, 70}));
    EXPECT_TRUE(e.Contains(100, 50));
    EXPECT_TRUE(e.Contains(179, 69));
    EXPECT_FALSE(e.Contains(180, 60));
    EXPECT_FALSE(e.Contains(150, 70));
    EXPECT_FALSE(e.Contains(99, 60));
    EXPECT_FALSE((Element{0, 0, 0, 0}).Contains(0, 0));
}

TEST(Element, HugePositionsFromAFileNeitherOverflowNorWrap) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const Element e{kMax - 10, 0, kMax, 10};
    EXPECT_EQ(e.Bounds().right, kMax);
    EXPECT_TRUE(e.Contains(kMax - 1, 5));
    EXPECT_FALSE(e.Contains(0, 5));
}

TEST(HitTest, LowerIndexWinsAndLastLimitsTheSearch) {
    const Element table[] = {{0, 0, 10, 10}, {5, 5, 10, 10}, {20, 20, 5, 5}};
    EXPECT_EQ(HitTest(table, 7, 7, 2), 0);
    EXPECT_EQ(HitTest(table, 12, 12, 2), 1);
    EXPECT_EQ(HitTest(table, 21, 21, 1), kNoElement);
    EXPECT_EQ(HitTest(table, 21, 21, 200), 2) << "last beyond the table stops at its end";
    EXPECT_EQ(HitTest(table, 50, 50, 2), kNoElement);
}

TEST_F(LayoutLoaderTest, MainLayoutFillsElementsCaptionsAndFunctionNames) {
    WriteAll(kEnglish);
    Write(LayoutKind::Main, kEnglish,
          "[BUTTONPOS]\n0=,100,50,80,20,Save\n123=x, 1 ,-2,abc,4,Last,ignored\n"
          "[FUN_STRING]\n0=never read\n1=Left Click\n2=Right Click,1,2\n54=Reserved\n");
    layout.functionName[0] = "kept";
    ASSERT_TRUE(LoadMainLayout(reader, dir.path(), kEnglish, layout));

    EXPECT_EQ(layout.mainElements[0], (Element{100, 50, 80, 20}));
    EXPECT_EQ(layout.mainCaptions[0], "Save");
    EXPECT_EQ(HitTest(layout.mainElements, 179, 60, 114), 0);
    EXPECT_EQ(HitTest(layout.mainElements, 180, 60, 114), kNoElement);
    EXPECT_EQ(layout.mainElements[123], (Element{1, -2, 0, 4}));
    EXPECT_EQ(layout.mainCaptions[123], "Last");
    EXPECT_EQ(layout.mainElements[1], Element{});

    EXPECT_EQ(layout.functionName[0], "kept") << "row 0 of FUN_STRING is not read";
    EXPECT_EQ(layout.functionName[1], "Left Click");
    EXPECT_EQ(layout.functionName[2], "Right Click");
    EXPECT_EQ(layout.functionName[3], "");
    EXPECT_EQ(layout.functionName[54], "Reserved");
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(LayoutLoaderTest, AdvancedLayoutConvertsTheFourControlRectangles) {
    Write(LayoutKind::Advanced, kChinese,
          "[BUTTONPOS]\n51=,1,2,3,4,末\n"
          "[EDIT]\n3=,10,20,30,40\n4=,5,6,7,8\n"
          "[MACRODISPLAY]\n1=,100,100,200,150\n2=,300,100,220,180\n");
    ASSERT_TRUE(LoadAdvancedLayout(reader, dir.path(), kChinese, layout));
    EXPECT_EQ(layout.macroElements[51], (Element{1, 2, 3, 4}));
    EXPECT_EQ(layout.macroCaptions[51], "末");
    EXPECT_EQ(layout.repeatCountEditRect, (Rect{10, 20, 40, 60}));
    EXPECT_EQ(layout.macroNameEditRect, (Rect{5, 6, 12, 14}));
    EXPECT_EQ(layout.macroListRect, (Rect{100, 100, 300, 250}));
    EXPECT_EQ(layout.eventListRect, (Rect{300, 100, 520, 280}));
}

TEST_F(LayoutLoaderTest, MissingEnglishMainLayoutShowsOneMessageAndExitsOnce) {
    WriteAll(kChinese);
    EXPECT_FALSE(LoadMainLayout(reader, dir.path(), kEnglish, layout));
    EXPECT_FALSE(LoadLightLayout(reader, dir.path(), kChinese, layout));
    EXPECT_FALSE(LoadAdvancedLayout(reader, dir.path(), kChinese, layout));
    EXPECT_FALSE(LoadWarningLayout(reader, dir.path(), kChinese, layout));
    EXPECT_EQ(shell.messages, std::vector<std::string>{"找不到配置文件"});
    EXPECT_EQ(shell.exitCalls, 1);
}

TEST_F(LayoutLoaderTest, RowMissingInTheNewLanguageReadsAsZeroAfterASwitch) {
    Write(LayoutKind::Light, kChinese, "[BUTTONPOS]\n0=,10,20,30,40,呼吸\n12=,1,1,1,1,标\n");
    Write(LayoutKind::Light, kEnglish, "[BUTTONPOS]\n0=,11,21,31,41,Breathing\n");
    Write(LayoutKind::Warning, kChinese, "[BUTTONPOS]\n2=,5,5,50,20,提示\n");
    Write(LayoutKind::Warning, kEnglish, "[BUTTONPOS]\n0=,1,1,9,9,OK\n");
    ASSERT_TRUE(LoadLightLayout(reader, dir.path(), kChinese, layout));
    ASSERT_TRUE(LoadWarningLayout(reader, dir.path(), kChinese, layout));
    EXPECT_EQ(layout.lightElements[12], (Element{1, 1, 1, 1}));

    ASSERT_TRUE(LoadLightLayout(reader, dir.path(), kEnglish, layout));
    ASSERT_TRUE(LoadWarningLayout(reader, dir.path(), kEnglish, layout));
    EXPECT_EQ(layout.lightElements[0], (Element{11, 21, 31, 41}));
    EXPECT_EQ(layout.lightCaptions[0], "Breathing");
    EXPECT_EQ(layout.lightElements[12], Element{});
    EXPECT_EQ(layout.lightCaptions[12], "");
    EXPECT_EQ(layout.warningElements[2], Element{});
    EXPECT_EQ(layout.warningCaptions[2], "");
    EXPECT_EQ(layout.warningCaptions[0], "OK");
    EXPECT_TRUE(shell.messages.empty());
}

} // namespace
} // namespace xk
