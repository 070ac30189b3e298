// Arbitrary bytes as a macro file, read in memory: loading stays inside the slots and keeps the
// counts in bounds, a save and a load give back every byte of a macro, and the page operations
// cope with what was loaded.
#include "FuzzCheck.h"

#include "macro/EventCommands.h"
#include "macro/EventList.h"
#include "macro/MacroFile.h"
#include "macro/MacroList.h"
#include "macro/MacroValue.h"
#include "unit/macro/FakeMacroPage.h"

#include <cstdint>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace xk;
    using fuzz::Check;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    test::FakeMacroPage fake;
    MacroStore& store = fake.store;
    ReadMacros(IniDocument::Parse(bytes), store, MacroTarget::User);
    Check(store.userMacroCount >= 0 && store.userMacroCount <= kUsableUserMacros);
    Check(store.currentMacro >= 0 && store.currentMacro < kUsableUserMacros);

    // One macro, picked by the input's size, saved and loaded again: every byte comes back.
    // (One, and one page operation below: each costs as much as the reading.)
    if (store.userMacroCount > 0) {
        const auto index = size % static_cast<size_t>(store.userMacroCount);
        const MacroSlot& slot = store.userMacros[index];
        const MacroSlot again = DecodeMacroValue(EncodeMacroValue(slot));
        Check(std::memcmp(&again, &slot, sizeof(MacroSlot)) == 0);
    }

    // The page over whatever was loaded: the current macro shown, then one of an event menu
    // command on its line 1, showing another macro, or deleting the selected one.
    FillMacroList(fake.page);
    switch (size / 16 % 3) {
    case 0:
        OpenEventMenu(fake.page, {0, 0, 100, 100, 0, 10, 5, 15});
        RunEventCommand(fake.page, kEventCommands[size / 64 % kEventCommands.size()].englishId);
        ApplyEditedDelay(fake.page);
        break;
    case 1:
        if (store.userMacroCount > 0) {
            fake.controls.macroSelection =
                static_cast<int>(size / 64 % static_cast<size_t>(store.userMacroCount));
            SelectMacro(fake.page);
        }
        break;
    default:
        DeleteMacro(fake.page);
        break;
    }
    return 0;
}
