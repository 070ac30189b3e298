// The name tables of the delivered layouts, in both languages, as the window shows them.
#include "ctl/FunctionNames.h"
#include "settings/Language.h"
#include "ui/layout/LayoutLoader.h"
#include "unit/layout/RecordingShell.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace xk::ctl {
namespace {

FunctionNameTable DeliveredNames(int32_t language) {
    test::RecordingShell shell;
    LayoutReader reader(shell, shell);
    SkinLayout layout;
    EXPECT_TRUE(
        LoadMainLayout(reader, std::filesystem::path(XK_BIN_DIR) / "skins", language, layout));
    return layout.functionName;
}

class FunctionNamesTest : public testing::Test {
protected:
    FunctionNamesTest() {
        macros.userMacroCount = 2;
        macros.userMacros[0].SetName(u"Burst");
        macros.userMacros[1].SetName(u"Copy"); // the name of a built-in macro too
    }

    const FunctionNameTable english = DeliveredNames(kLanguageEnglish);
    const FunctionNameTable chinese = DeliveredNames(kLanguageChinese);
    MacroStore macros;
};

TEST_F(FunctionNamesTest, NamesOfEachLanguageGiveTheirCodes) {
    struct Case {
        bool english;
        std::string value;
        int32_t code;
    };
    const std::vector<Case> cases = {
        {true, "Volume Up", 24},    {true, "volume up", 24},      {true, "DPI Cycle", 6},
        {true, "Play/Pause", 29},   {true, "Calculator Key", 30}, {true, "Left Click", 1},
        {true, "User Macro 2", 42}, {true, "burst", 41},          {true, "Copy", 31},
        {true, "24", 24},           {false, "音量加", 24},        {false, "DPI 循环", 6},
        {false, "dpi 循环", 6},     {false, "左键", 1},           {false, "用户宏 1", 41},
        {false, "Burst", 41},       {false, "复制", 31},          {false, "16", 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const FunctionNames names(c.english ? english : chinese, macros);
        const FunctionNames::Resolved resolved = names.Resolve(c.value);
        EXPECT_EQ(resolved.code, c.code) << resolved.error;
    }
}

TEST_F(FunctionNamesTest, ShownNamesAreTheWindowsLabels) {
    const FunctionNames en(english, macros);
    const FunctionNames cn(chinese, macros);
    EXPECT_EQ(en.ShownName(24), "Volume Up");
    EXPECT_EQ(cn.ShownName(24), "音量加");
    EXPECT_EQ(en.ShownName(41), "Burst"); // a user macro shows its own name
    EXPECT_EQ(cn.ShownName(42), "Copy");
    EXPECT_EQ(en.ShownName(0), "");
    EXPECT_EQ(en.ShownName(54), "");
    EXPECT_EQ(en.ShownName(-3), "");
    EXPECT_EQ(en.OfferedCodesText(), "1..6, 11..16, 21..38, 41..42");
}

TEST_F(FunctionNamesTest, OtherNamesAreRefusedWithCloseMatches) {
    struct Case {
        bool english;
        std::string value;
        std::string fragment;
    };
    const std::vector<Case> cases = {
        {true, "音量加", "unknown function '音量加'"},
        {false, "Volume Up", "unknown function 'Volume Up'"},
        {true, "Volum Up", "close matches: Volume Up"},
        {false, "音量", "close matches: 音量加, 音量减"},
        {true, "calculator", "'calculator': code 39 (Calculator) is not offered"},
        {false, "计算器", "code 39 (计算器) is not offered"},
        {true, "Disabled", "code 18 (Disabled) is not offered"},
        {true, "Device Functions", "code 7 (Device Functions) is not offered"},
        {true, "User Macro 3", "user macro 3, but there are 2 user macros"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const FunctionNames names(c.english ? english : chinese, macros);
        const FunctionNames::Resolved resolved = names.Resolve(c.value);
        EXPECT_FALSE(resolved.code);
        EXPECT_NE(resolved.error.find(c.fragment), std::string::npos) << resolved.error;
    }
}

} // namespace
} // namespace xk::ctl
