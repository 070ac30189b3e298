#pragma once

#include <cstdint>

namespace xk {

inline constexpr int32_t kMillisecondsPerDay = 86'400'000;

// The system's time of day, so that tests control time.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since midnight UTC: ((hour * 60 + minute) * 60 + second) * 1000 + ms,
    // 0..86399999.
    virtual int32_t MillisecondsSinceMidnightUtc() const = 0;
};

} // namespace xk
