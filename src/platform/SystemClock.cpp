#include "platform/SystemClock.h"

#include <chrono>

namespace xk {

int32_t SystemClock::MillisecondsSinceMidnightUtc() const {
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
    const auto ofDay = sinceEpoch.count() % kMillisecondsPerDay;
    return static_cast<int32_t>(ofDay < 0 ? ofDay + kMillisecondsPerDay : ofDay);
}

} // namespace xk
