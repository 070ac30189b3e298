#include "macro/EventCommands.h"
#include "macro/EventList.h"
#include "macro/MacroFile.h"
#include "macro/MacroList.h"
#include "macro/PreTranslate.h"
#include "macro/Recording.h"
#include "support/TempDir.h"
#include "unit/macro/FakeMacroPage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace xk {
namespace {

// The executor copies slots while the interface thread changes them; every writer holds the
// store's lock, which the ThreadSanitizer build checks.
TEST(MacroStoreSharing, EveryOperationWritesSlotsUnderTheLock) {
    test::TempDir dir;
    test::FakeMacroPage fake;
    auto& page = fake.page;
    auto& store = fake.store;
    for (int i = 0; i < 4; ++i) {
        test::AddUserMacro(store, u"m" + std::u16string(1, static_cast<char16_t>(u'0' + i)),
                           {{4, kActionPress, 10}, {4, kActionRelease, 10}});
    }
    store.macroFilePath = dir / "Macro_EN.dat";
    ASSERT_TRUE(SaveMacroFile(store.macroFilePath, store));

    std::atomic<bool> done{false};
    std::atomic<int> copies{0};
    std::atomic<int> lastEventCount{0};
    std::thread executor([&] {
        while (!done.load()) {
            for (size_t i = 0; i < kMacroSlotCount; ++i) {
                const MacroSlot slot = store.CopyUserMacro(i);
                lastEventCount = slot.eventCount;
                ++copies;
            }
        }
    });

    for (int round = 0; round < 20; ++round) {
        LoadMacroFile(store.macroFilePath, store, MacroTarget::User, fake.messages);
        FillMacroList(page);
        fake.controls.macroName = u"new";
        NewMacro(page);
        ToggleRepeat(page);
        fake.controls.macroSelection = 0;
        OpenEventMenu(page, {0, 0, 100, 100, 0, 10, 5, 15}); // delay line 1
        RunEventCommand(page, 32802);                        // insert before
        RunEventCommand(page, 32781);                        // delete
        RunEventCommand(page, 32780);                        // modify delay
        fake.controls.eventLines[1] = u"77";
        ApplyEditedDelay(page);
        ToggleRecording(page);
        RecordKeyMessage(page, kKeyDownMessage, 65);
        RecordKeyMessage(page, kKeyUpMessage, 65);
        ToggleRecording(page);
        fake.controls.macroSelection = 1;
        DeleteMacro(page);
        SaveMacros(page);
    }
    done = true;
    executor.join();
    EXPECT_GT(copies.load(), 0);
}

} // namespace
} // namespace xk
