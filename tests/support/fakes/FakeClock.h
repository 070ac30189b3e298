#pragma once

#include "macro/Clock.h"

#include <cstdint>

namespace xk::test {

// A clock that stands still until a test moves it; wraps at midnight.
class FakeClock : public Clock {
public:
    explicit FakeClock(int32_t millisecondsSinceMidnight = 0) : now_(millisecondsSinceMidnight) {}

    int32_t MillisecondsSinceMidnightUtc() const override { return now_; }
    void Set(int32_t millisecondsSinceMidnight) { now_ = millisecondsSinceMidnight; }
    void Advance(int32_t milliseconds) { now_ = (now_ + milliseconds) % kMillisecondsPerDay; }

private:
    int32_t now_;
};

} // namespace xk::test
