#include "macro/Recording.h"
#include "macro/KeyCodes.h"
#include "macro/MacroList.h"
#include "macro/PreTranslate.h"
#include "unit/macro/FakeMacroPage.h"

#include <gtest/gtest.h>

namespace xk {
namespace {

using test::AddUserMacro;
using test::FakeMacroPage;

constexpr uint32_t kA = 65;
constexpr uint32_t kB = 66;
constexpr uint32_t kLeftShift = 160;

class RecordingTest : public ::testing::Test, public FakeMacroPage {
protected:
    RecordingTest() {
        AddUserMacro(store, u"first", {{7, kActionPress, 0}});
        MacroSlot& second = AddUserMacro(store, u"second", {{4, kActionPress, 500}});
        second.repeatEnabled = 1;
        second.SetRepeatCount(5);
        store.currentMacro = 1;
        FillMacroList(page); // selects "second"
        clock.Set(10'000);
    }
    KeyRecord Down(uint32_t key) { return RecordKeyMessage(page, kKeyDownMessage, key); }
    KeyRecord Up(uint32_t key) { return RecordKeyMessage(page, kKeyUpMessage, key); }
    const MacroSlot& Recorded() const { return store.userMacros[1]; }
    // The recorded events as "key/action " pairs of virtual keys, as a macro file holds them.
    std::string Events() const {
        std::string events;
        for (size_t k = 0; k < Recorded().eventCount; ++k) {
            const MacroSlot::Event& e = Recorded().events[k];
            events +=
                std::to_string(VirtualKeyFromKey(e.keyCode)) + "/" + std::to_string(e.action) + " ";
        }
        return events;
    }
};

TEST_F(RecordingTest, TwoLettersAtHundredMillisecondSteps) {
    ToggleRecording(page);
    ASSERT_TRUE(page.recorder.recording);
    for (const auto& [message, key] : {std::pair{kKeyDownMessage, kA},
                                       {kKeyUpMessage, kA},
                                       {kKeyDownMessage, kB},
                                       {kKeyUpMessage, kB}}) {
        EXPECT_EQ(RecordKeyMessage(page, message, key), KeyRecord::Recorded);
        clock.Advance(100);
    }
    EXPECT_EQ(Recorded().eventCount, 0) << "the count is set when the recording stops";
    ToggleRecording(page);
    const MacroSlot& slot = Recorded();
    ASSERT_EQ(slot.eventCount, 4);
    const MacroSlot::Event expected[] = {
        {4, kActionPress}, {4, kActionRelease}, {5, kActionPress}, {5, kActionRelease}};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(slot.events[k].keyCode, expected[k].keyCode);
        EXPECT_EQ(slot.events[k].action, expected[k].action);
    }
    EXPECT_EQ(slot.Delay(0), 100);
    EXPECT_EQ(slot.Delay(1), 100);
    EXPECT_EQ(slot.Delay(2), 100);
    EXPECT_EQ(slot.Delay(3), 30);
    EXPECT_EQ(controls.eventLines.size(), 7u);
    EXPECT_EQ(controls.eventSelection, 6);
    EXPECT_EQ(page.eventList.pressLineCount, 2);
    EXPECT_EQ(page.eventList.releaseLineCount, 2);
}

TEST_F(RecordingTest, StartBlanksTheMacroButItsNameAndTakesTheKeyboard) {
    ToggleRecording(page);
    const MacroSlot& slot = Recorded();
    EXPECT_EQ(slot.Name(), u"second");
    EXPECT_EQ(slot.repeatEnabled, 0);
    EXPECT_EQ(slot.RepeatCount(), 1);
    EXPECT_EQ(slot.eventCount, 0);
    EXPECT_EQ(slot.events[0].keyCode, 0);
    EXPECT_EQ(slot.Delay(0), 0);
    EXPECT_EQ(controls.repeatCount, u"1");
    EXPECT_FALSE(controls.repeatCountEnabled);
    EXPECT_TRUE(controls.eventLines.empty());
    EXPECT_EQ(keyboard.grabs, 1);
    EXPECT_EQ(page.recorder.recordingMacro, 1);

    ToggleRecording(page); // nothing typed: name, play once, no events
    EXPECT_EQ(slot.eventCount, 0);
    EXPECT_EQ(slot.Name(), u"second");
    EXPECT_EQ(keyboard.releases, 1);
    EXPECT_EQ(store.userMacros[0].events[0].keyCode, 7) << "other macros untouched";
}

TEST_F(RecordingTest, WithoutMacrosOrWithAFailedGrab) {
    FakeMacroPage empty;
    ToggleRecording(empty.page);
    EXPECT_FALSE(empty.page.recorder.recording);
    EXPECT_EQ(empty.keyboard.grabs, 0);

    keyboard.grabSucceeds = false;
    ToggleRecording(page);
    EXPECT_TRUE(page.recorder.recording);
    EXPECT_EQ(Down(kA), KeyRecord::Recorded);
    EXPECT_EQ(Up(kA), KeyRecord::Recorded);
    ToggleRecording(page);
    EXPECT_EQ(keyboard.releases, 0);
    EXPECT_EQ(Recorded().eventCount, 2);
}

TEST_F(RecordingTest, StopsEvenWhenTheListHasLostItsLines) {
    ToggleRecording(page);
    Down(kA);
    controls.ClearMacroList(); // as a reload without macros leaves it
    ToggleRecording(page);
    EXPECT_FALSE(page.recorder.recording);
    EXPECT_EQ(keyboard.releases, 1);
    EXPECT_EQ(Recorded().eventCount, 2) << "A's press and the release it gets at the stop";
    ToggleRecording(page);
    EXPECT_FALSE(page.recorder.recording) << "no start without macros";
}

TEST_F(RecordingTest, AutoRepeatRecordsOnePress) {
    ToggleRecording(page);
    EXPECT_EQ(Down(kA), KeyRecord::Recorded);
    EXPECT_EQ(Down(kA), KeyRecord::Skipped);
    EXPECT_EQ(Down(kA), KeyRecord::Skipped);
    EXPECT_EQ(Up(kA), KeyRecord::Recorded);
    ToggleRecording(page);
    EXPECT_EQ(Recorded().eventCount, 2);
}

TEST_F(RecordingTest, AHeldKeyIsOnePressWhateverIsTypedMeanwhile) {
    ToggleRecording(page);
    EXPECT_EQ(Down(kLeftShift), KeyRecord::Recorded);
    EXPECT_EQ(Down(kA), KeyRecord::Recorded);
    EXPECT_EQ(Down(kLeftShift), KeyRecord::Skipped) << "held: a repeat, not a new press";
    EXPECT_EQ(Up(kA), KeyRecord::Recorded);
    EXPECT_EQ(Up(kLeftShift), KeyRecord::Recorded);
    EXPECT_EQ(Down(kLeftShift), KeyRecord::Recorded) << "released: a new press";
    EXPECT_EQ(Up(kLeftShift), KeyRecord::Recorded);
    ToggleRecording(page);
    EXPECT_EQ(Recorded().eventCount, 6);
}

TEST_F(RecordingTest, OnlyKeysOfTheKeyTableAreRecorded) {
    ToggleRecording(page);
    // 0xE2 (the key left of Z) and 16 (side-neutral Shift) have no row: the mouse would play
    // them as left Alt and as M.
    for (const uint32_t key : {0xE2u, 16u, 0xFFu}) {
        EXPECT_EQ(Down(key), KeyRecord::Refused) << key;
        EXPECT_EQ(Up(key), KeyRecord::Refused) << key;
    }
    EXPECT_EQ(page.recorder.lastKeyMessage, 0u) << "a refusal leaves no trace";
    const std::pair<uint32_t, uint8_t> rows[] = {{124, 104}, {135, 115}, {41, 119},
                                                 {43, 116},  {47, 117},  {12, 156}};
    for (const auto& [virtualKey, key] : rows) {
        EXPECT_EQ(Down(virtualKey), KeyRecord::Recorded) << virtualKey;
        EXPECT_EQ(Up(virtualKey), KeyRecord::Recorded) << virtualKey;
    }
    ToggleRecording(page);
    ASSERT_EQ(Recorded().eventCount, 12);
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(Recorded().events[2 * k].keyCode, rows[k].second);
    }
}

TEST_F(RecordingTest, ShiftHeldAroundALetter) {
    ToggleRecording(page);
    Down(kLeftShift);
    Down(kA);
    Up(kA);
    Up(kLeftShift);
    ToggleRecording(page);
    const std::vector<std::u16string> lines = {u"[↓]LSHIFT", u"[↓]A", u"[↑]A", u"[↑]LSHIFT"};
    for (size_t k = 0; k < lines.size(); ++k) {
        EXPECT_EQ(controls.eventLines[2 * k], lines[k]);
    }
    EXPECT_EQ(Recorded().events[0].keyCode, 225);
}

TEST_F(RecordingTest, ReleasesWithoutARecordedPressAreDropped) {
    ToggleRecording(page);
    EXPECT_EQ(Up(kB), KeyRecord::Refused);
    EXPECT_EQ(Down(kA), KeyRecord::Recorded);
    EXPECT_EQ(Up(kB), KeyRecord::Refused);
    EXPECT_EQ(page.recorder.lastKeyMessage, kKeyDownMessage) << "a refusal leaves no trace";
    EXPECT_EQ(page.recorder.recordedCount, 1);
}

// A key mapped onto a spare keycode for a moment (as xdotool types keysyms that the keymap
// lacks): the release arrives after the keymap has changed back and the key means nothing
// then. A layout switch while a key is held changes what the key means too.
TEST_F(RecordingTest, AReleaseIsTheKeyItsPressWasWhateverTheKeymapSaysThen) {
    struct Message {
        uint32_t message;
        uint32_t virtualKey;
        uint32_t keycode;
        KeyRecord result;
    };
    const Message sequence[] = {
        {kKeyDownMessage, 0x7C, 8, KeyRecord::Recorded}, // F13 on the spare keycode 8
        {kKeyUpMessage, 0x7C, 8, KeyRecord::Recorded},
        {kKeyDownMessage, 0x29, 8, KeyRecord::Recorded},  // Select on the same keycode
        {kKeyUpMessage, 0, 8, KeyRecord::Recorded},       // mapped back: no key now
        {kKeyDownMessage, 0x24, 79, KeyRecord::Recorded}, // the keypad's 7 as Home
        {kKeyDownMessage, 0x67, 79, KeyRecord::Skipped},  // Num Lock switched: a repeat
        {kKeyUpMessage, 0x67, 79, KeyRecord::Recorded},
        {kKeyUpMessage, 0, 8, KeyRecord::Refused},        // nothing held there any more
        {kKeyDownMessage, 0x0D, 36, KeyRecord::Recorded}, // Return, then the keypad's Enter
        {kKeyDownMessage, 0x0D, 104, KeyRecord::Skipped},
        {kKeyUpMessage, 0x0D, 104, KeyRecord::Refused}, // its press was not recorded
        {kKeyUpMessage, 0x0D, 36, KeyRecord::Recorded},
    };
    ToggleRecording(page);
    for (const Message& m : sequence) {
        EXPECT_EQ(RecordKeyMessage(page, m.message, m.virtualKey, m.keycode), m.result)
            << m.message << " " << m.virtualKey << " " << m.keycode;
    }
    ToggleRecording(page);
    EXPECT_EQ(Events(), "124/1 124/2 41/1 41/2 36/1 36/2 13/1 13/2 ");
    EXPECT_EQ(controls.eventLines.back(), u"[↑]RETURN");
}

TEST_F(RecordingTest, KeysHeldAtTheStopAreReleased) {
    ToggleRecording(page);
    Down(kLeftShift);
    Down(kA);
    ToggleRecording(page);
    EXPECT_EQ(Events(), "160/1 65/1 160/2 65/2 ");
    EXPECT_EQ(controls.eventLines.size(), 7u) << "the list shows the releases too";
    EXPECT_EQ(Recorded().Delay(2), 30);
}

TEST_F(RecordingTest, TheListFollowsTheRecordingWhenItShowsAgain) {
    ToggleRecording(page);
    Down(kA);
    Up(kA);
    // Another macro shown meanwhile: the recording's events are not its lines.
    controls.SelectMacroLine(0);
    SelectMacro(page);
    Down(kB);
    EXPECT_EQ(controls.eventLines, std::vector<std::u16string>{u"[↓]D"});
    // The recorded macro shown again (also as the page shows again): all its events so far.
    controls.SelectMacroLine(1);
    SelectMacro(page);
    Up(kB);
    const std::vector<std::u16string> lines = {u"[↓]A", u"    0ms", u"[↑]A", u"    0ms",
                                               u"[↓]B", u"    0ms", u"[↑]B"};
    EXPECT_EQ(controls.eventLines, lines);
    EXPECT_EQ(page.eventList.pressLineCount, 2);
    EXPECT_EQ(controls.eventSelection, 6);
    ToggleRecording(page);
    EXPECT_EQ(Recorded().eventCount, 4);
}

TEST_F(RecordingTest, TheLastKeyMessageCarriesOverToTheNextRecording) {
    ToggleRecording(page);
    Down(kA);
    ToggleRecording(page); // stopped with A held
    ToggleRecording(page);
    EXPECT_EQ(Down(kA), KeyRecord::Skipped);
    EXPECT_EQ(Up(kA), KeyRecord::Refused);
    EXPECT_EQ(Down(kB), KeyRecord::Recorded);
}

TEST_F(RecordingTest, PressLimitStillRecordsReleasesUpToTheEventLimit) {
    ToggleRecording(page);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(Down(kA), KeyRecord::Recorded);
        ASSERT_EQ(Up(kA), KeyRecord::Recorded);
    }
    for (uint32_t key = kA; key < kA + 8; ++key) { // presses 101..108, all held
        ASSERT_EQ(Down(key), KeyRecord::Recorded);
    }
    EXPECT_EQ(page.eventList.pressLineCount, 108);
    // The page shown again rebuilds the list; the presses counted stay those recorded, so
    // every held key keeps its room among the 216 events.
    FillMacroList(page);
    EXPECT_EQ(page.eventList.pressLineCount, 108);
    EXPECT_EQ(Down(90), KeyRecord::Refused); // the 109th press
    for (uint32_t key = kA; key < kA + 8; ++key) {
        EXPECT_EQ(Up(key), KeyRecord::Recorded) << key;
    }
    EXPECT_EQ(page.recorder.recordedCount, 216);
    EXPECT_EQ(Down(91), KeyRecord::Skipped) << "the event limit is reached";
    ToggleRecording(page);
    EXPECT_EQ(Recorded().eventCount, 216);
    EXPECT_EQ(controls.eventLines.size(), 2u * 216 - 1);
}

TEST_F(RecordingTest, EventLimitSkipsEverythingAfterIt) {
    ToggleRecording(page);
    for (int i = 0; i < 108; ++i) {
        Down(kA);
        Up(kA);
    }
    page.eventList.pressLineCount = 0; // a rebuild during the recording resets the count
    EXPECT_EQ(Down(kB), KeyRecord::Skipped);
    EXPECT_EQ(page.recorder.recordedCount, 216);
}

TEST_F(RecordingTest, NineKeysHeldAtMost) {
    ToggleRecording(page);
    for (uint32_t key = kA; key < kA + 9; ++key) {
        ASSERT_EQ(Down(key), KeyRecord::Recorded);
    }
    EXPECT_EQ(Down(kA + 9), KeyRecord::Refused);
    EXPECT_EQ(Up(kA + 9), KeyRecord::Refused);
    EXPECT_EQ(Up(kA + 4), KeyRecord::Recorded);
    EXPECT_EQ(Down(kA + 9), KeyRecord::Recorded) << "room again";
    EXPECT_EQ(page.recorder.heldKeyCount, 9);
    EXPECT_EQ(page.recorder.heldKeys[4].virtualKey, kA + 5) << "later keys move forward";
    EXPECT_EQ(page.recorder.heldKeys[8].virtualKey, kA + 9);
}

TEST_F(RecordingTest, ElapsedTimeAcrossMidnightAndItsCap) {
    RecordingState recorder;
    struct Case {
        int32_t now;
        int32_t elapsed;
    };
    const Case steps[] = {
        {86'399'950, 65535},                  // first call: since 0
        {50, 100},                            // past midnight
        {100, 50},           {70'100, 65535}, // capped
        {70'100, 0},
    };
    for (const auto& step : steps) {
        clock.Set(step.now);
        EXPECT_EQ(ElapsedSinceLastEvent(recorder, clock), step.elapsed) << step.now;
    }
}

TEST_F(RecordingTest, DelaysAcrossMidnight) {
    clock.Set(86'399'990);
    ToggleRecording(page);
    Down(kA);
    clock.Advance(40);
    Up(kA);
    ToggleRecording(page);
    EXPECT_EQ(Recorded().Delay(0), 40);
}

TEST(PreTranslate, WhatIsRecordedSwallowedOrPassedOn) {
    struct Case {
        uint32_t message;
        uint32_t key;
        bool recording;
        bool macroPage;
        bool record;
        bool menu;
        bool swallow;
    };
    const Case cases[] = {
        {kKeyDownMessage, 27, true, true, true, false, true},    // Escape never closes
        {kKeyDownMessage, 13, false, false, false, false, true}, // Return
        {kKeyUpMessage, 27, false, false, false, false, false},
        {kSysKeyDownMessage, 27, false, false, false, false, false},
        {kSysKeyDownMessage, 121, true, false, true, false, true}, // F10
        {kKeyUpMessage, 121, false, false, false, false, true},
        // While recording every key is the recording's: none reaches the window.
        {kKeyDownMessage, 65, true, true, true, false, true},
        {kKeyDownMessage, 65, false, true, false, false, false},
        {kSysKeyDownMessage, 32, true, false, true, false, true}, // Alt+Space
        {kSysKeyUpMessage, 164, true, true, true, false, true},
        {kRightButtonUpMessage, 0, false, true, false, true, false},
        {kRightButtonUpMessage, 0, false, false, false, false, false},
        {kRightButtonUpMessage, 0, true, true, false, false, false},
        {0x0102 /* character */, 121, true, true, false, false, false},
    };
    for (const auto& c : cases) {
        const PreTranslation p = PreTranslateMessage(c.message, c.key, c.recording, c.macroPage);
        EXPECT_EQ(p.record, c.record) << c.message << " " << c.key;
        EXPECT_EQ(p.openEventMenu, c.menu) << c.message << " " << c.key;
        EXPECT_EQ(p.swallow, c.swallow) << c.message << " " << c.key;
    }
}

} // namespace
} // namespace xk
