#pragma once

#include "macro/MacroSlot.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <mutex>

namespace xk {

inline constexpr int kMacroSlotCount = 13;
inline constexpr int kUsableUserMacros = 12; // slot 12 stays blank

// Every macro the executor can play. Owned by the application object and passed by reference.
// The interface thread changes the slots; the executor copies a slot when it starts playing it.
// Both hold `mutex` while they touch slot bytes, so a copy never sees a half-written slot.
struct MacroStore {
    std::array<MacroSlot, kMacroSlotCount> userMacros{};
    int16_t userMacroCount = 0;
    int32_t currentMacro = 0;
    std::array<MacroSlot, kMacroSlotCount> constMacros{};
    int16_t constMacroCount = 0;
    std::filesystem::path macroFilePath;
    mutable std::mutex mutex;

    // Whether index names one of the user macros in use.
    bool IsUserMacro(int32_t index) const {
        return index >= 0 && index < userMacroCount && index < kUsableUserMacros;
    }

    // A copy of a slot taken under the lock; index is 0..12.
    MacroSlot CopyUserMacro(size_t index) const {
        const std::lock_guard lock(mutex);
        return userMacros[index];
    }
    MacroSlot CopyConstMacro(size_t index) const {
        const std::lock_guard lock(mutex);
        return constMacros[index];
    }
};

} // namespace xk
