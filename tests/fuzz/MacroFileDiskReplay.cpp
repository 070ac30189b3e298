// The macro file seeds through the disk, as the program reads and writes them: each seed loads
// from its file with the counts in bounds and no message, and a save and a load from disk give
// back every byte of every macro in use. Replayed in the ordinary presets only: the fuzz target
// of the same reading (MacroFileFuzz.cpp) works in memory.
#include "FuzzCheck.h"

#include "macro/MacroFile.h"
#include "support/fakes/RecordingMessages.h"

#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

namespace {

std::filesystem::path TempPath(const char* name) {
    return std::filesystem::temp_directory_path() /
           ("xk-macro-replay-" + std::to_string(getpid()) + "-" + name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace xk;
    using fuzz::Check;
    const std::filesystem::path input = TempPath("in.dat");
    const std::filesystem::path saved = TempPath("saved.dat");
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        Check(static_cast<bool>(out.flush()));
    }

    test::RecordingMessages messages;
    MacroStore store;
    Check(LoadMacroFile(input, store, MacroTarget::User, messages));
    Check(messages.shown.empty());
    Check(store.userMacroCount >= 0 && store.userMacroCount <= kUsableUserMacros);
    Check(store.currentMacro >= 0 && store.currentMacro < kUsableUserMacros);

    Check(SaveMacroFile(saved, store));
    MacroStore again;
    Check(LoadMacroFile(saved, again, MacroTarget::User, messages));
    Check(again.userMacroCount == store.userMacroCount);
    for (int i = 0; i < store.userMacroCount; ++i) {
        const auto index = static_cast<size_t>(i);
        Check(std::memcmp(&again.userMacros[index], &store.userMacros[index], sizeof(MacroSlot)) ==
              0);
    }
    std::error_code ignored;
    std::filesystem::remove(input, ignored);
    std::filesystem::remove(saved, ignored);
    return 0;
}
