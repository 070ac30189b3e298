#include "device/InputListener.h"

#include "device/VirtualMouseTransport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace xk {
namespace {

struct ListenerCase {
    std::string name;
    int32_t macroMode;
    bool pending;
    std::vector<uint8_t> report;
    bool pendingAfter;
    bool stopAfter;
    uint8_t codeAfter;
};

void PrintTo(const ListenerCase& c, std::ostream* os) {
    *os << c.name;
}

class InputListenerTest : public testing::TestWithParam<ListenerCase> {};

TEST_P(InputListenerTest, TurnsReportsIntoEventsAndStopRequests) {
    const ListenerCase& c = GetParam();
    Settings settings;
    settings.macroMode.store(c.macroMode);
    VirtualMouseTransport transport;
    MouseConnection connection(transport);
    ExecutorFlags flags;
    flags.eventPending.store(c.pending);
    flags.eventCode.store(0xF1);
    InputListener listener(settings, connection, flags);

    listener.HandleReport(c.report);

    EXPECT_EQ(flags.eventPending.load(), c.pendingAfter);
    EXPECT_EQ(flags.stopRequested.load(), c.stopAfter);
    EXPECT_EQ(flags.eventCode.load(), c.codeAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InputListenerTest,
    testing::Values(
        ListenerCase{"PressWhileIdleIsTaken", 0, false, {6, 0xF3, 0x01}, true, false, 0xF3},
        ListenerCase{"DpiLevelByteIsAPress", 0, false, {6, 0xF9, 0x00}, true, false, 0xF9},
        ListenerCase{"SecondPressStopsInModeZero", 0, true, {6, 0xF3, 0x01}, true, true, 0xF1},
        ListenerCase{"SecondPressIgnoredInModeOne", 1, true, {6, 0xF3, 0x01}, true, false, 0xF1},
        ListenerCase{"ReleaseIgnoredInModeZero", 0, true, {6, 0xF1, 0x80}, true, false, 0xF1},
        ListenerCase{"ReleaseStopsInModeOne", 2, true, {6, 0xF1, 0x80}, true, true, 0xF1},
        ListenerCase{"ReleaseWhileIdleIsDropped", 1, false, {6, 0xF1, 0x80}, false, false, 0xF1},
        ListenerCase{"NonButtonCodeStopsWhilePending", 1, true, {6, 0xF0, 0x01}, true, true, 0xF1},
        ListenerCase{"NonButtonCodeWhileIdleIsDropped", 0, false, {6, 0x05}, false, false, 0xF1},
        ListenerCase{"OtherReportIdsAreIgnored", 0, false, {5, 0xF3, 0x01}, false, false, 0xF1},
        ListenerCase{"AnEmptyReportIsIgnored", 0, true, {}, true, false, 0xF1}),
    [](const auto& param) { return param.param.name; });

} // namespace
} // namespace xk
