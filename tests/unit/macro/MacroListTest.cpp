#include "macro/MacroList.h"
#include "macro/MacroFile.h"
#include "macro/PreTranslate.h"
#include "macro/Recording.h"
#include "settings/IniFile.h"
#include "settings/Language.h"
#include "settings/SmallFile.h"
#include "support/TempDir.h"
#include "unit/macro/FakeMacroPage.h"

#include <gtest/gtest.h>

#include <cstring>

namespace xk {
namespace {

using test::AddUserMacro;
using test::FakeMacroPage;
using test::TempDir;

class MacroListTest : public ::testing::Test, public FakeMacroPage {
protected:
    // Macros named by the texts, each with one press of A.
    void AddMacros(std::initializer_list<std::u16string_view> names) {
        for (const auto name : names) {
            AddUserMacro(store, name, {{4, kActionPress, 0}});
        }
    }
    void ShowList() { FillMacroList(page); }
};

TEST_F(MacroListTest, FillSelectsTheCurrentMacroAndShowsIt) {
    AddMacros({u"a", u"b", u"c", u"d"});
    AddUserMacro(store, u"e", {{5, kActionPress, 70}, {5, kActionRelease, 0}});
    store.currentMacro = 4; // as loading five macros leaves it
    ShowList();
    EXPECT_EQ(controls.macroLines, (std::vector<std::u16string>{u"a", u"b", u"c", u"d", u"e"}));
    EXPECT_EQ(controls.macroSelection, 4);
    EXPECT_EQ(controls.macroName, u"e");
    EXPECT_EQ(controls.eventLines, (std::vector<std::u16string>{u"[↓]B", u"    70ms", u"[↑]B"}));
}

TEST_F(MacroListTest, FillWithoutMacrosShowsNoneAndKeepsCurrentAtZero) {
    AddMacros({u"a"});
    ShowList();
    TempDir dir;
    test::WriteFile(dir / "none.dat", "[Macros]\nmacroNum=0\n");
    ImportMacros(page, dir / "none.dat", kLanguageEnglish);
    EXPECT_EQ(store.currentMacro, 0);
    EXPECT_TRUE(controls.macroLines.empty());
    EXPECT_TRUE(controls.eventLines.empty()) << "no events of a macro that is gone";
    EXPECT_EQ(controls.macroName, u"");
    EXPECT_EQ(controls.repeatCount, u"1");
    EXPECT_FALSE(controls.repeatCountEnabled);
    EXPECT_EQ(page.eventList.pressLineCount, 0);
}

TEST_F(MacroListTest, NewMacroAddsOrSelectsByExactName) {
    AddMacros({u"Fire", u"Jump"});
    ShowList();
    store.currentMacro = 0;

    controls.macroName = u"Jump"; // exists: selected, nothing added
    NewMacro(page);
    EXPECT_EQ(store.userMacroCount, 2);
    EXPECT_EQ(store.currentMacro, 1);
    EXPECT_EQ(controls.macroSelection, 1);
    EXPECT_EQ(controls.eventLines, std::vector<std::u16string>{u"[↓]A"});

    controls.macroName = u"jump"; // letter case differs: a new macro
    NewMacro(page);
    EXPECT_EQ(store.userMacroCount, 3);
    EXPECT_EQ(store.currentMacro, 2);
    EXPECT_EQ(controls.macroSelection, 2);
    EXPECT_EQ(controls.macroLines.back(), u"jump");
    EXPECT_EQ(store.userMacros[2].Name(), u"jump");
    EXPECT_TRUE(controls.eventLines.empty());

    controls.macroName = u""; // empty: nothing
    NewMacro(page);
    EXPECT_EQ(store.userMacroCount, 3);
}

TEST_F(MacroListTest, NewMacroCutsLongNamesToNineteenCharacters) {
    controls.macroName = u"abcdefghijklmnopqrstuvwxyz";
    NewMacro(page);
    ASSERT_EQ(store.userMacroCount, 1);
    EXPECT_EQ(store.userMacros[0].Name(), u"abcdefghijklmnopqrs");
    EXPECT_EQ(controls.macroLines[0], u"abcdefghijklmnopqrs");
    EXPECT_EQ(controls.macroName, u"abcdefghijklmnopqrs");
    // Typing the long name again finds the same macro.
    controls.macroName = u"abcdefghijklmnopqrstuvwxyz";
    NewMacro(page);
    EXPECT_EQ(store.userMacroCount, 1);
    // A surrogate pair is never split.
    controls.macroName = std::u16string(18, u'x') + u"\U0001F600";
    NewMacro(page);
    EXPECT_EQ(store.userMacros[1].Name(), std::u16string(18, u'x'));
}

TEST_F(MacroListTest, NewMacroStopsAtTwelveAndStartsEmpty) {
    for (int i = 0; i < 11; ++i) {
        AddMacros({std::u16string(1, static_cast<char16_t>(u'a' + i))});
    }
    // Slot 11 holds a macro that a larger file left behind.
    AddUserMacro(store, u"stale", {{4, kActionPress, 0}}).repeatEnabled = 1;
    --store.userMacroCount;
    ShowList();
    controls.macroName = u"new";
    NewMacro(page);
    ASSERT_EQ(store.userMacroCount, 12);
    EXPECT_EQ(store.userMacros[11].eventCount, 0);
    EXPECT_EQ(store.userMacros[11].repeatEnabled, 0);
    controls.macroName = u"thirteenth";
    NewMacro(page);
    EXPECT_EQ(store.userMacroCount, 12);
    EXPECT_EQ(controls.macroLines.size(), 12u);
    EXPECT_EQ(store.userMacros[12].Name(), u"") << "slot 12 stays blank";
}

TEST_F(MacroListTest, DeleteFirstOfThreeMovesTheOthersDown) {
    AddMacros({u"one", u"two"});
    AddUserMacro(store, u"three", {{6, kActionPress, 0}}).repeatEnabled = 1;
    ShowList();
    controls.macroSelection = 0;
    DeleteMacro(page);
    EXPECT_EQ(store.userMacroCount, 2);
    EXPECT_EQ(store.userMacros[0].Name(), u"two"); // function code 41 now plays "two"
    EXPECT_EQ(store.userMacros[1].Name(), u"three");
    EXPECT_EQ(store.userMacros[1].events[0].keyCode, 6);
    EXPECT_EQ(controls.macroLines, (std::vector<std::u16string>{u"two", u"three"}));
    EXPECT_EQ(controls.macroSelection, 0);
    EXPECT_EQ(store.currentMacro, 0);
    EXPECT_EQ(controls.macroName, u"two");
    // The vacated slot: its name stays, it plays once with no events.
    const MacroSlot& vacated = store.userMacros[2];
    EXPECT_EQ(vacated.Name(), u"three");
    EXPECT_EQ(vacated.repeatEnabled, 0);
    EXPECT_EQ(vacated.RepeatCount(), 1);
    EXPECT_EQ(vacated.eventCount, 0);
}

TEST_F(MacroListTest, DeleteLastRemainingMacroClearsThePage) {
    AddMacros({u"only"});
    ShowList();
    DeleteMacro(page);
    EXPECT_EQ(store.userMacroCount, 0);
    EXPECT_EQ(controls.macroName, u"");
    EXPECT_EQ(controls.repeatCount, u"1");
    EXPECT_FALSE(controls.repeatCountEnabled);
    EXPECT_TRUE(controls.eventLines.empty());
    DeleteMacro(page); // empty list: nothing
    EXPECT_EQ(store.userMacroCount, 0);
}

TEST_F(MacroListTest, DeleteDoesNothingWhileRecordingOrWithoutSelection) {
    AddMacros({u"a", u"b"});
    ShowList();
    ToggleRecording(page);
    DeleteMacro(page);
    EXPECT_EQ(store.userMacroCount, 2);
    ToggleRecording(page);
    controls.macroSelection = -1;
    DeleteMacro(page);
    EXPECT_EQ(store.userMacroCount, 2);
}

TEST_F(MacroListTest, SaveClampsTheRepeatCount) {
    TempDir dir;
    store.macroFilePath = dir / "Macro_EN.dat";
    AddMacros({u"m"});
    ShowList();
    struct Case {
        std::u16string typed;
        uint16_t stored;
        std::u16string shown;
    };
    const Case cases[] = {{u"0", 1, u"1"},       {u"-3", 1, u"1"},  {u"70000", 65535, u"65535"},
                          {u"250", 250, u"250"}, {u"abc", 1, u"1"}, {u" 12x", 12, u" 12x"}};
    for (const auto& c : cases) {
        controls.repeatCount = c.typed;
        ASSERT_TRUE(SaveMacros(page));
        EXPECT_EQ(store.userMacros[0].RepeatCount(), c.stored);
        EXPECT_EQ(controls.repeatCount, c.shown);
        MacroStore saved;
        ReadMacros(*LoadIniDocument(store.macroFilePath), saved, MacroTarget::User);
        EXPECT_EQ(saved.userMacros[0].RepeatCount(), c.stored);
    }
}

TEST_F(MacroListTest, ToggleRepeatSwitchesTheCountEdit) {
    AddMacros({u"m"});
    store.userMacros[0].SetRepeatCount(7);
    ShowList();
    const int repaints = controls.repaints;
    ToggleRepeat(page);
    EXPECT_EQ(store.userMacros[0].repeatEnabled, 1);
    EXPECT_EQ(controls.repeatCount, u"7");
    EXPECT_TRUE(controls.repeatCountEnabled);
    ToggleRepeat(page);
    EXPECT_EQ(store.userMacros[0].repeatEnabled, 0);
    EXPECT_EQ(controls.repeatCount, u"1");
    EXPECT_FALSE(controls.repeatCountEnabled);
    EXPECT_EQ(store.userMacros[0].RepeatCount(), 7) << "only the save takes the edit's count";
    EXPECT_GT(controls.repaints, repaints);
}

TEST_F(MacroListTest, ImportReplacesTheMacrosButNotTheFilePath) {
    TempDir dir;
    store.macroFilePath = dir / "Macro_CN.dat";
    MacroStore other;
    AddUserMacro(other, u"x");
    AddUserMacro(other, u"y");
    ASSERT_TRUE(SaveMacroFile(dir / "chosen.dat", other));
    AddMacros({u"a"});
    ShowList();

    ImportMacros(page, dir / "chosen.dat", kLanguageEnglish);
    EXPECT_EQ(controls.macroLines, (std::vector<std::u16string>{u"x", u"y"}));
    EXPECT_EQ(controls.macroSelection, 1);
    EXPECT_EQ(store.macroFilePath, dir / "Macro_CN.dat");
    EXPECT_FALSE(std::filesystem::exists(store.macroFilePath));

    ASSERT_TRUE(ExportMacros(page, dir / "out.dat"));
    EXPECT_EQ(IniRead(dir / "out.dat", "Macros", "macroNum", 3), "2");
}

TEST_F(MacroListTest, ImportRefusesAMacroFileItCannotReadWholeAndChangesNothing) {
    TempDir dir;
    const std::string slot(3192, '0');
    struct Case {
        std::string text;
        std::string fault;
    };
    const Case cases[] = {
        {"[Other]\nmacroNum=1\n0=" + slot + "\n", "no [Macros] section"},
        // macroNum missing or outside 0..12.
        {"[Macros]\n0=" + slot + "\n", "macroNum is missing"},
        {"[Macros]\nmacroNum=99\n", "macroNum=99"},
        {"[Macros]\nmacroNum=13\n", "macroNum=13"},
        {"[Macros]\nmacroNum=-1\n", "macroNum=-1"},
        {"[Macros]\nmacroNum=two\n", "macroNum=two"},
        {"[Macros]\nmacroNum=012\n", "macroNum=012"},
        // Slots that cannot be read.
        {"[Macros]\nmacroNum=2\n0=" + slot + "\n", "macro 1 is missing"},
        {"[Macros]\nmacroNum=1\n0=" + slot + "7\n", "macro 0 is not"},
        {"[Macros]\nmacroNum=1\n0=06500x\n", "macro 0 is not"},
        {"[Macros]\nmacroNum=1\n0=065256\n", "macro 0 is not"},
        // Larger than 1 MiB.
        {"[Macros]\nmacroNum=0\n" + std::string(kSmallFileLimit, ';'), "larger than 1 MiB"},
    };
    AddMacros({u"a", u"b"});
    ShowList();
    const auto before = store.userMacros;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        const auto file = dir / "bad.dat";
        test::WriteFile(file, c.text);
        messages.shown.clear();
        EXPECT_FALSE(ImportMacros(page, file, kLanguageEnglish));
        EXPECT_EQ(store.userMacroCount, 2);
        EXPECT_EQ(std::memcmp(&store.userMacros, &before, sizeof before), 0);
        EXPECT_EQ(controls.macroLines, (std::vector<std::u16string>{u"a", u"b"}));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.shown[0].find(file.string()), std::string::npos) << messages.shown[0];
        EXPECT_NE(messages.shown[0].find(c.fault), std::string::npos) << messages.shown[0];
    }
    // A short value reads its missing bytes as 0, as at start-up.
    test::WriteFile(dir / "short.dat", "[Macros]\nmacroNum=1\n0=065000\n");
    EXPECT_TRUE(ImportMacros(page, dir / "short.dat", kLanguageEnglish));
    EXPECT_EQ(controls.macroLines, (std::vector<std::u16string>{u"A"}));
}

TEST_F(MacroListTest, ImportStopsTheRecordingFirst) {
    TempDir dir;
    MacroStore other;
    AddUserMacro(other, u"x", {{9, kActionPress, 0}});
    ASSERT_TRUE(SaveMacroFile(dir / "chosen.dat", other));
    AddMacros({u"a"});
    ShowList();
    ToggleRecording(page);
    RecordKeyMessage(page, kKeyDownMessage, 66);
    ImportMacros(page, dir / "chosen.dat", kLanguageEnglish);
    EXPECT_FALSE(page.recorder.recording);
    EXPECT_EQ(keyboard.releases, 1);
    EXPECT_EQ(store.userMacros[0].Name(), u"x");
    EXPECT_EQ(store.userMacros[0].eventCount, 1);
    EXPECT_EQ(store.userMacros[0].events[0].keyCode, 9) << "the recording does not write into it";
}

TEST_F(MacroListTest, StartSelectedLineIsTheLastKeyLine) {
    AddMacros({u"a"});
    AddUserMacro(store, u"b", {{4, 1, 0}, {4, 2, 0}, {5, 1, 0}});
    store.currentMacro = 1;
    EXPECT_EQ(StartSelectedLine(store), 4);
    store.userMacros[1].eventCount = 0;
    EXPECT_EQ(StartSelectedLine(store), 0);
}

} // namespace
} // namespace xk
