#include "macro/ReplaceUserMacros.h"

#include "macro/MacroFile.h"
#include "macro/MacroList.h"
#include "settings/IniFile.h"
#include "support/TempDir.h"
#include "unit/macro/FakeMacroPage.h"

#include <gtest/gtest.h>

namespace xk {
namespace {

using test::AddUserMacro;
using test::FakeMacroPage;
using test::TempDir;

// A macro file holding macros of the given names, each with one press of A.
void WriteMacros(const std::filesystem::path& file,
                 std::initializer_list<std::u16string_view> names) {
    std::filesystem::create_directories(file.parent_path());
    MacroStore store;
    for (const auto name : names) {
        AddUserMacro(store, name, {{4, kActionPress, 30}});
    }
    ASSERT_TRUE(SaveMacroFile(file, store));
}

std::vector<std::u16string> Names(const MacroStore& store) {
    std::vector<std::u16string> names;
    for (int i = 0; i < store.userMacroCount; ++i) {
        names.push_back(store.userMacros[static_cast<size_t>(i)].Name());
    }
    return names;
}

class ReplaceUserMacrosTest : public ::testing::Test, public FakeMacroPage {
protected:
    TempDir dir;
    std::filesystem::path skins = dir / "skins";

    void SetUp() override {
        WriteMacros(skins / "INI_EN" / "defMacro.dat", {u"Copy", u"Paste"});
        WriteMacros(skins / "INI_CN" / "defMacro.dat", {u"复制"});
        WriteMacros(dir / "Macro_EN.dat", {u"Mine", u"Also mine", u"Third"});
        WriteMacros(dir / "Macro_CN.dat", {u"我的"});
        store.macroFilePath = dir / "Macro_EN.dat";
        LoadMacroFile(store.macroFilePath, store, MacroTarget::User, messages);
    }
};

TEST_F(ReplaceUserMacrosTest, ResetLoadsTheLanguagesFactoryMacrosAndSavesThem) {
    FillMacroList(page);
    controls.repaints = 0;
    ASSERT_TRUE(ResetUserMacros(page, skins, 1, true));
    EXPECT_EQ(Names(store), (std::vector<std::u16string>{u"Copy", u"Paste"}));
    EXPECT_EQ(controls.macroLines, Names(store)) << "the shown list is refilled";
    EXPECT_GT(controls.repaints, 0);
    EXPECT_EQ(IniRead(dir / "Macro_EN.dat", "Macros", "macroNum", 3), "2");
    EXPECT_EQ(IniRead(dir / "Macro_EN.dat", "Macros", "1", 4000),
              IniRead(skins / "INI_EN" / "defMacro.dat", "Macros", "1", 4000));

    store.macroFilePath = dir / "Macro_CN.dat";
    controls.macroLines = {u"stale"};
    controls.repaints = 0;
    ASSERT_TRUE(ResetUserMacros(page, skins, 0, false));
    EXPECT_EQ(Names(store), (std::vector<std::u16string>{u"复制"}));
    EXPECT_EQ(controls.macroLines, (std::vector<std::u16string>{u"stale"}))
        << "a page not shown is filled when it is shown";
    EXPECT_EQ(controls.repaints, 0);
    EXPECT_EQ(IniRead(dir / "Macro_CN.dat", "Macros", "macroNum", 3), "1");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReplaceUserMacrosTest, SwitchLoadsTheLanguagesFileAndDropsUnsavedChanges) {
    FillMacroList(page);
    AddUserMacro(store, u"unsaved");
    controls.repaints = 0;
    SwitchUserMacros(page, dir.path(), 0, true);
    EXPECT_EQ(store.macroFilePath, dir / "Macro_CN.dat");
    EXPECT_EQ(Names(store), (std::vector<std::u16string>{u"我的"}));
    EXPECT_EQ(controls.macroLines, Names(store));
    EXPECT_GT(controls.repaints, 0);

    // The same language again: the file is read anew.
    AddUserMacro(store, u"unsaved");
    SwitchUserMacros(page, dir.path(), 0, false);
    EXPECT_EQ(Names(store), (std::vector<std::u16string>{u"我的"}));

    // A hand-edited language value other than 0 and 1 is English, the macro file included.
    SwitchUserMacros(page, dir.path(), 2, false);
    EXPECT_EQ(store.macroFilePath, dir / "Macro_EN.dat");
    EXPECT_EQ(Names(store), (std::vector<std::u16string>{u"Mine", u"Also mine", u"Third"}));
    EXPECT_EQ(DefaultMacroFilePath(skins, 255), skins / "INI_EN" / "defMacro.dat");
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
} // namespace xk
