#pragma once

#include "macro/Clock.h"

namespace xk {

// The system's time of day in UTC.
class SystemClock final : public Clock {
public:
    int32_t MillisecondsSinceMidnightUtc() const override;
};

} // namespace xk
