// Arbitrary bytes as a macro file: loading stays inside the slots, keeps the counts in bounds,
// survives a save and a load unchanged, and the page operations cope with what it loaded.
#include "macro/EventCommands.h"
#include "macro/EventList.h"
#include "macro/MacroFile.h"
#include "macro/MacroList.h"
#include "unit/macro/FakeMacroPage.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

const std::filesystem::path& InputPath() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("xk-macro-fuzz-" + std::to_string(getpid()) + ".dat");
    return path;
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace xk;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(InputPath(), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            return 0;
        }
    }

    test::FakeMacroPage fake;
    MacroStore& store = fake.store;
    LoadMacroFile(InputPath(), store, MacroTarget::User, fake.messages);
    Check(fake.messages.shown.empty());
    ReadMacros(IniDocument::Parse(bytes), store, MacroTarget::Constant);
    Check(store.userMacroCount >= 0 && store.userMacroCount <= kUsableUserMacros);
    Check(store.constMacroCount == store.userMacroCount);
    Check(store.currentMacro >= 0 && store.currentMacro < kUsableUserMacros);

    // Save and load again: every byte of every macro in use comes back.
    IniDocument saved;
    WriteMacros(store, saved);
    MacroStore again;
    ReadMacros(IniDocument::Parse(saved.Serialize()), again, MacroTarget::User);
    Check(again.userMacroCount == store.userMacroCount);
    for (int i = 0; i < store.userMacroCount; ++i) {
        const auto index = static_cast<size_t>(i);
        Check(std::memcmp(&again.userMacros[index], &store.userMacros[index], sizeof(MacroSlot)) ==
              0);
    }

    // The page over whatever was loaded: show the current macro, run one command of each kind
    // on its line 1, then show each macro.
    FillMacroList(fake.page);
    for (const int32_t id : {32802, 32814, 32780, 32781}) {
        OpenEventMenu(fake.page, {0, 0, 100, 100, 0, 10, 5, 15});
        RunEventCommand(fake.page, id);
        ApplyEditedDelay(fake.page);
    }
    for (int i = 0; i < store.userMacroCount; ++i) {
        fake.controls.macroSelection = i;
        SelectMacro(fake.page);
    }
    DeleteMacro(fake.page);
    return 0;
}
