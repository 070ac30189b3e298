#pragma once

namespace xk::fuzz {

// A broken invariant ends the run, so libFuzzer keeps the input (or the replay fails).
inline void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace xk::fuzz
