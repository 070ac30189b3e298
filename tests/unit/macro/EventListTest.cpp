#include "macro/EventList.h"
#include "macro/EventCommands.h"
#include "macro/KeyCodes.h"
#include "macro/MacroFile.h"
#include "macro/MacroList.h"
#include "macro/Recording.h"
#include "settings/Language.h"
#include "settings/TextCodec.h"
#include "support/TempDir.h"
#include "unit/macro/FakeMacroPage.h"

#include <gtest/gtest.h>

#include <functional>

namespace xk {
namespace {

using test::AddUserMacro;
using test::FakeMacroPage;

constexpr int32_t kLeftDownBefore = 32802;
constexpr int32_t kLeftDownAfter = 32809;
constexpr int32_t kModifyDelay = 32780;
constexpr int32_t kDelete = 32781;

class EventListTest : public ::testing::Test, public FakeMacroPage {
protected:
    // Macro 0 with the events A down, A up, B down (delays 100, 120, 30), shown and selected.
    void ShowThreeEvents() {
        AddUserMacro(store, u"m",
                     {{4, kActionPress, 100}, {4, kActionRelease, 120}, {5, kActionPress, 30}});
        FillMacroList(page);
    }
    // A right click on line `line` of a list 20 pixels a line, at (100, 200) on the screen.
    bool RightClickLine(int line) {
        return OpenEventMenu(page, {100, 200, 300, 400, 0, 20, 150, 200 + 20 * line + 5});
    }
    std::vector<uint8_t> Keys(int macro = 0) const {
        const MacroSlot& slot = store.userMacros[static_cast<size_t>(macro)];
        std::vector<uint8_t> keys;
        for (int k = 0; k < slot.eventCount; ++k) {
            keys.push_back(slot.events[static_cast<size_t>(k)].keyCode);
        }
        return keys;
    }
    // The user types `text` into the in-place edit and closes it.
    void TypeDelay(std::u16string_view text) {
        ASSERT_GE(controls.editedLine, 0);
        controls.eventLines[static_cast<size_t>(controls.editedLine)] = text;
        ApplyEditedDelay(page);
    }
};

TEST_F(EventListTest, LinesShowKeysAndTheDelaysBetweenThem) {
    AddUserMacro(store, u"one", {{4, kActionPress, 55}});
    AddUserMacro(store, u"two", {{4, kActionPress, 120}, {4, kActionRelease, 30}});
    AddUserMacro(store, u"odd", {{50, 3, 0}});
    RebuildEventList(page, 0);
    EXPECT_EQ(controls.eventLines, std::vector<std::u16string>{u"[↓]A"});
    RebuildEventList(page, 1);
    EXPECT_EQ(controls.eventLines, (std::vector<std::u16string>{u"[↓]A", u"    120ms", u"[↑]A"}));
    EXPECT_EQ(page.eventList.pressLineCount, 1);
    EXPECT_EQ(page.eventList.releaseLineCount, 1);
    RebuildEventList(page, 2);
    EXPECT_EQ(controls.eventLines, std::vector<std::u16string>{u"`~"});
    EXPECT_EQ(page.eventList.pressLineCount, 0);
    EXPECT_EQ(page.eventList.releaseLineCount, 0);
}

TEST_F(EventListTest, RebuildSetsTheRepeatCountOnlyForRepeatOne) {
    MacroSlot& slot = AddUserMacro(store, u"m", {{4, kActionPress, 0}});
    slot.SetRepeatCount(9);
    const std::pair<uint8_t, std::u16string> cases[] = {{1, u"9"}, {2, u"1"}, {0, u"1"}};
    for (const auto& [enabled, shown] : cases) {
        slot.repeatEnabled = enabled;
        RebuildEventList(page, 0);
        EXPECT_EQ(controls.repeatCount, shown);
        EXPECT_EQ(controls.repeatCountEnabled, enabled == 1);
    }
    // No events: the edit keeps its text and state.
    slot.eventCount = 0;
    controls.repeatCount = u"kept";
    RebuildEventList(page, 0);
    EXPECT_EQ(controls.repeatCount, u"kept");
}

TEST_F(EventListTest, RightClickFindsTheLineUnderThePointer) {
    ShowThreeEvents(); // 5 lines
    struct Case {
        EventMenuClick click;
        bool shown;
        int32_t line;
    };
    const Case cases[] = {
        {{100, 200, 300, 400, 0, 20, 150, 285}, true, 4},  // line 4
        {{100, 200, 300, 400, 3, 20, 150, 225}, true, 4},  // scrolled by 3: second visible line
        {{100, 200, 300, 400, 0, 20, 150, 305}, false, 5}, // below the last line
        {{100, 200, 300, 400, 0, 20, 300, 205}, false, 0}, // right edge is outside
        {{100, 200, 300, 400, 0, 0, 150, 285}, true, 0},   // no line height
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OpenEventMenu(page, c.click), c.shown) << c.click.pointerY;
        EXPECT_EQ(page.eventList.selectedLine, c.line);
        EXPECT_EQ(page.eventList.menuLineCount, 5);
        EXPECT_EQ(page.eventList.menuMacro, 0);
        EXPECT_EQ(page.eventList.menuEvent, c.line < 5 ? c.line / 2 : 0);
    }
}

TEST_F(EventListTest, RightClickOnAnEmptyListOpensTheMenuToInsertAtZero) {
    AddUserMacro(store, u"empty");
    FillMacroList(page);
    EXPECT_TRUE(RightClickLine(3));
    EXPECT_EQ(page.eventList.menuEvent, 0);
    ASSERT_TRUE(RunEventCommand(page, kLeftDownAfter));
    EXPECT_EQ(Keys(), std::vector<uint8_t>{kLeftButtonKey});
    EXPECT_EQ(page.eventList.selectedLine, 0);
    EXPECT_EQ(controls.eventSelection, 0);
}

TEST_F(EventListTest, InsertBeforeAKeyLine) {
    ShowThreeEvents();
    ASSERT_TRUE(RightClickLine(4));
    RunEventCommand(page, kLeftDownBefore);
    const MacroSlot& slot = store.userMacros[0];
    EXPECT_EQ(Keys(), (std::vector<uint8_t>{4, 4, kLeftButtonKey, 5}));
    EXPECT_EQ(slot.events[2].action, kActionPress);
    EXPECT_EQ(slot.Delay(1), 120) << "the neighbour keeps its delay";
    EXPECT_EQ(slot.Delay(2), 30);
    EXPECT_EQ(slot.Delay(3), 30);
    EXPECT_EQ(page.eventList.selectedLine, 6);
    EXPECT_EQ(controls.eventSelection, 6);
    EXPECT_EQ(controls.eventLines[4], u"[↓]L-KEY");
    EXPECT_EQ(controls.eventLines[6], u"[↓]B");
}

TEST_F(EventListTest, InsertAfterADelayLineInsertsBehindItsEvent) {
    ShowThreeEvents();
    ASSERT_TRUE(RightClickLine(3)); // delay line of event 1
    RunEventCommand(page, 32814);   // "Add Backward" > "Mid Button" > "Up"
    EXPECT_EQ(Keys(), (std::vector<uint8_t>{4, 4, kMiddleButtonKey, 5}));
    EXPECT_EQ(store.userMacros[0].events[2].action, kActionRelease);
}

TEST_F(EventListTest, InsertIntoAFullMacroOverflows) {
    MacroSlot& slot = AddUserMacro(store, u"full");
    slot.eventCount = 254;
    FillMacroList(page);
    RightClickLine(0);
    RunEventCommand(page, kLeftDownBefore);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Overflow!!!"});
    EXPECT_EQ(slot.eventCount, 254);
    EXPECT_EQ(slot.events[0].keyCode, 0);
}

TEST_F(EventListTest, DeleteRemovesTheEventOfTheLine) {
    ShowThreeEvents();
    RightClickLine(0);
    RunEventCommand(page, kDelete);
    EXPECT_EQ(Keys(), (std::vector<uint8_t>{4, 5}));
    EXPECT_EQ(store.userMacros[0].events[0].action, kActionRelease);
    EXPECT_EQ(store.userMacros[0].Delay(0), 120);
    EXPECT_EQ(page.eventList.selectedLine, 0);
    EXPECT_EQ(controls.eventSelection, 0);

    RightClickLine(1); // the delay line below event 0 deletes event 0
    RunEventCommand(page, kDelete);
    EXPECT_EQ(Keys(), std::vector<uint8_t>{5});
}

TEST_F(EventListTest, DeleteOnAMacroWithoutEvents) {
    AddUserMacro(store, u"empty");
    FillMacroList(page);
    controls.eventLines = {u"stale"};
    RightClickLine(0);
    RunEventCommand(page, kDelete);
    EXPECT_EQ(store.userMacros[0].eventCount, 0);
    EXPECT_TRUE(controls.eventLines.empty()) << "the list is rebuilt";
}

TEST_F(EventListTest, ModifyDelayEditsOnlyDelayLines) {
    ShowThreeEvents();
    RightClickLine(2);
    RunEventCommand(page, kModifyDelay);
    EXPECT_EQ(controls.editedLine, -1);
    RightClickLine(3);
    RunEventCommand(page, kModifyDelay);
    EXPECT_EQ(controls.editedLine, 3);
}

TEST_F(EventListTest, EditedDelayIsParsed) {
    const std::pair<std::u16string, uint16_t> cases[] =
        {
            {u"250", 250},       {u"250ms", 250},   {u" 250", 250},    {u"abc", 0},
            {u"-5", 0},          {u"65535", 65535}, {u"65536", 65535}, {u"999999", 65535},
            {u"    120ms", 120}, // Escape: the line as it was
        };
    ShowThreeEvents();
    for (const auto& [typed, stored] : cases) {
        RightClickLine(3);
        RunEventCommand(page, kModifyDelay);
        TypeDelay(typed);
        EXPECT_EQ(store.userMacros[0].Delay(1), stored) << Utf8FromUtf16(typed);
        EXPECT_EQ(controls.eventLines[3], DelayLineText(stored));
        ApplyEditedDelay(page); // the second notice of the same close changes nothing
        EXPECT_EQ(store.userMacros[0].Delay(1), stored);
        store.userMacros[0].SetDelay(1, 120);
        RebuildEventList(page, 0);
    }
}

TEST_F(EventListTest, EditedDelayNeedsTheDelayLineOfTheMenusEvent) {
    ShowThreeEvents();
    RightClickLine(3);
    RunEventCommand(page, kModifyDelay);
    page.eventList.selectedLine = 2; // the selection moved to a key line before the close
    ApplyEditedDelay(page);
    EXPECT_EQ(store.userMacros[0].Delay(1), 120);
}

// "m" (delays 100, 120) shown, "n" (delay 25) beside it.
TEST_F(EventListTest, ADelayEditWritesOnlyIntoTheMacroAndEventItWasOpenedOn) {
    ShowThreeEvents();
    AddUserMacro(store, u"n", {{6, kActionPress, 25}, {6, kActionRelease, 30}});
    FillMacroList(page);
    test::TempDir dir;
    MacroStore other;
    AddUserMacro(other, u"x", {{7, kActionPress, 40}, {7, kActionRelease, 30}});
    ASSERT_TRUE(SaveMacroFile(dir / "other.dat", other));
    const auto delays = [this] {
        return std::vector<uint16_t>{store.userMacros[0].Delay(0), store.userMacros[0].Delay(1),
                                     store.userMacros[1].Delay(0)};
    };
    const auto select = [this](int macro) {
        controls.SelectMacroLine(macro);
        SelectMacro(page);
    };

    // A close of an edit that Modify Delay did not open writes nothing, although the menu was
    // last opened on a delay line of another macro.
    RightClickLine(1);
    select(1);
    controls.eventLines[1] = u"5";
    ApplyEditedDelay(page);
    EXPECT_EQ(delays(), (std::vector<uint16_t>{100, 120, 25}));
    EXPECT_EQ(controls.eventLines[0], u"[↓]C") << "the list shows the macro on show";

    // An open edit closes unwritten when the macro on show or all macros change; a late notice
    // of its close writes nothing either.
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"another macro selected", [&] { select(1); }},
        {"the list refilled (reset, language, xk-r40-ctl)", [&] { FillMacroList(page); }},
        {"macros imported", [&] { ImportMacros(page, dir / "other.dat", kLanguageEnglish); }},
    };
    for (const auto& [name, change] : changes) {
        select(0);
        RightClickLine(1);
        RunEventCommand(page, kModifyDelay);
        ASSERT_EQ(controls.editedLine, 1) << name;
        change();
        EXPECT_EQ(controls.editedLine, -1) << name << ": the edit is closed";
        controls.eventLines[1] = u"999";
        ApplyEditedDelay(page);
        if (store.userMacros[0].Name() == u"x") {
            EXPECT_EQ(store.userMacros[0].Delay(0), 40) << name;
        } else {
            EXPECT_EQ(delays(), (std::vector<uint16_t>{100, 120, 25})) << name;
        }
    }
}

TEST_F(EventListTest, CommandsNeedAMacroAndNoRecording) {
    ShowThreeEvents();
    controls.macroSelection = -1;
    RightClickLine(0);
    EXPECT_EQ(page.eventList.menuMacro, -1);
    for (const auto& command : kEventCommands) {
        RunEventCommand(page, command.englishId);
    }
    EXPECT_EQ(Keys(), (std::vector<uint8_t>{4, 4, 5}));
    EXPECT_TRUE(messages.shown.empty());

    controls.macroSelection = 0;
    RightClickLine(0);
    ToggleRecording(page);
    EXPECT_FALSE(RightClickLine(0)) << "no menu while recording";
    for (const auto& command : kEventCommands) {
        RunEventCommand(page, command.chineseId);
    }
    EXPECT_EQ(store.userMacros[0].eventCount, 0) << "the recording blanked it; nothing else";
    EXPECT_EQ(controls.editedLine, -1);
}

TEST_F(EventListTest, BothIdsOfARowRunTheSameCommand) {
    for (const auto& command : kEventCommands) {
        EXPECT_EQ(FindEventCommand(command.englishId), &command);
        EXPECT_EQ(FindEventCommand(command.chineseId), &command);
    }
    EXPECT_EQ(FindEventCommand(32808), nullptr);
    EXPECT_FALSE(RunEventCommand(page, 32808));

    for (const auto& command : kEventCommands) {
        if (command.kind != EventCommandKind::InsertBefore &&
            command.kind != EventCommandKind::InsertAfter) {
            continue;
        }
        for (const int32_t id : {command.englishId, command.chineseId}) {
            FakeMacroPage fresh;
            AddUserMacro(fresh.store, u"m", {{4, kActionPress, 0}, {4, kActionRelease, 0}});
            FillMacroList(fresh.page);
            OpenEventMenu(fresh.page, {0, 0, 100, 100, 0, 10, 5, 5}); // line 0
            RunEventCommand(fresh.page, id);
            const size_t at = command.kind == EventCommandKind::InsertBefore ? 0 : 1;
            const auto& event = fresh.store.userMacros[0].events[at];
            EXPECT_EQ(event.keyCode, command.key) << id;
            EXPECT_EQ(event.action, command.action) << id;
        }
    }
}

} // namespace
} // namespace xk
