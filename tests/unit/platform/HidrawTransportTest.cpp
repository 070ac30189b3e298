// No hidraw node can be made here: these are the error paths and what needs no device.

#include "platform/HidrawTransport.h"

#include "device/MouseConnection.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <array>

namespace xk {
namespace {

TEST(HidrawTransportTest, PathsThatCannotBeOpenedGiveNoDevice) {
    HidrawTransport transport;
    for (const HidAccess access : {HidAccess::Identify, HidAccess::Read, HidAccess::Write}) {
        EXPECT_EQ(transport.Open("/nonexistent/hidraw0", access), nullptr);
        EXPECT_EQ(transport.Open("", access), nullptr);
    }
}

TEST(HidrawTransportTest, ANodeThatIsNotHidAnswersNothing) {
    HidrawTransport transport;
    const auto device = transport.Open("/dev/null", HidAccess::Identify);
    ASSERT_NE(device, nullptr);
    EXPECT_FALSE(device->Attributes());
    EXPECT_TRUE(device->Capabilities().empty());
    const std::array<uint8_t, 8> report{7, 0x20};
    EXPECT_FALSE(device->SetFeature(report));
    EXPECT_FALSE(device->SetFeature({}));
}

TEST(HidrawTransportTest, AnInterruptedReadEndsAndLaterReadsFailAtOnce) {
    HidrawTransport transport;
    const auto device = transport.Open("/dev/zero", HidAccess::Read);
    ASSERT_NE(device, nullptr);
    device->Interrupt();
    std::array<uint8_t, 8> buffer{};
    EXPECT_FALSE(device->ReadReport(buffer));
    EXPECT_FALSE(device->ReadReport(buffer));
}

TEST(HidrawTransportTest, ScanWithoutTheMouseFindsNothing) {
    HidrawTransport transport;
    const auto list = transport.ListInterfaces();
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->PathAt(-1));
    EXPECT_FALSE(list->PathAt(100000));
    MouseConnection connection(transport);
    if (!connection.FindMouse()) { // a machine with the mouse plugged in finds it
        EXPECT_FALSE(connection.ReadHandleSet());
        EXPECT_FALSE(connection.WriteHandleSet());
    }
}

TEST(HidrawTransportTest, NotificationsAreQuietUntilSomethingHappens) {
    HidrawTransport transport;
    EXPECT_TRUE(transport.ReadNotifications().empty()) << "before registration";
    transport.RegisterNotifications();
    transport.RegisterNotifications();
    const int fd = transport.NotificationFd();
    ASSERT_GE(fd, 0);
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 0) == 0) {
        EXPECT_TRUE(transport.ReadNotifications().empty());
    }
}

} // namespace
} // namespace xk
