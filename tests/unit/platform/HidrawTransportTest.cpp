// No hidraw node can be made here: these are the error paths and what needs no device.

#include "platform/HidrawTransport.h"

#include "device/MouseConnection.h"
#include "platform/HidrawIdentity.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>

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

// A read node that hangs up (as hidraw does after an unplug) is reported as lost, once; a read
// that fails otherwise is not.
TEST(HidrawTransportTest, AReadHandleThatHangsUpIsReportedLost) {
    const test::TempDir dir;
    const std::string fifo = dir / "hidraw9";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int writer = ::open(fifo.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    HidrawTransport transport;
    const auto device = transport.Open(fifo, HidAccess::Read);
    ASSERT_NE(device, nullptr);
    ::close(writer);

    std::array<uint8_t, 8> buffer{};
    EXPECT_FALSE(device->ReadReport(buffer));
    EXPECT_FALSE(device->ReadReport(buffer));
    pollfd ready{transport.NotificationFd(), POLLIN, 0};
    EXPECT_EQ(::poll(&ready, 1, 0), 1) << "the interface thread is woken";
    const std::vector<DeviceChange> expected = {{DeviceChange::Kind::Lost, fifo}};
    EXPECT_EQ(transport.ReadNotifications(), expected);
    EXPECT_EQ(::poll(&ready, 1, 0), 0);

    const auto folder = transport.Open(dir.path(), HidAccess::Read); // read() fails: EISDIR
    ASSERT_NE(folder, nullptr);
    EXPECT_FALSE(folder->ReadReport(buffer));
    EXPECT_TRUE(transport.ReadNotifications().empty());
}

// HID_ID is "bus:vendor:product" in hexadecimal; a vendor from 0x8000 on is not negative.
TEST(HidrawIdentityTest, HidIdGivesVendorAndProduct) {
    struct Case {
        const char* uevent;
        std::optional<HidAttributes> expected;
    };
    const Case cases[] = {
        {"DRIVER=hid-generic\nHID_ID=0003:000018F8:00001286\nHID_NAME=Mouse\n",
         HidAttributes{0x18F8, 0x1286}},
        {"HID_ID=0003:0000A8F8:0000FFFF", HidAttributes{0xA8F8, 0xFFFF}},
        {"HID_ID=0005:000018f8:00001286\n", HidAttributes{0x18F8, 0x1286}},
        {"HID_NAME=x\n", std::nullopt},
        {"HID_ID=0003:18F8\n", std::nullopt},
        {"HID_ID=0003:000118F8:00001286\n", std::nullopt},
        {"HID_ID=0003:-18F8:00001286\n", std::nullopt},
        {"HID_ID=0003:0000zz:00001286\n", std::nullopt},
        {"XHID_ID=0003:000018F8:00001286\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto got = ParseHidId(c.uevent);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.uevent;
        if (got) {
            EXPECT_EQ(got->vendorId, c.expected->vendorId) << c.uevent;
            EXPECT_EQ(got->productId, c.expected->productId) << c.uevent;
        }
    }
}

TEST(HidrawIdentityTest, IdentityNeedsTheUeventAndADescriptor) {
    const test::TempDir dir;
    std::filesystem::create_directories(dir / "device");
    EXPECT_FALSE(ReadHidrawIdentity(dir.path()));
    test::WriteFile(dir / "device/uevent", "HID_ID=0003:000018F8:00001286\n");
    EXPECT_FALSE(ReadHidrawIdentity(dir.path())) << "no descriptor";
    test::WriteFile(dir / "device/report_descriptor", "");
    EXPECT_FALSE(ReadHidrawIdentity(dir.path())) << "an empty descriptor";
    const std::string descriptor(4096, '\x01');
    test::WriteFile(dir / "device/report_descriptor", descriptor);
    const auto identity = ReadHidrawIdentity(dir.path());
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->attributes.vendorId, 0x18F8);
    EXPECT_EQ(identity->descriptor.size(), 4096u);
    test::WriteFile(dir / "device/report_descriptor", descriptor + "x");
    EXPECT_FALSE(ReadHidrawIdentity(dir.path())) << "longer than the kernel allows";
}

// /run/udev that cannot be looked into (here a link to itself) leaves the kernel's events.
TEST(HidrawTransportTest, AnUnreadableUdevFolderDoesNotEndTheProgram) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root for a private mount namespace";
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", "/run", "tmpfs", 0, nullptr) != 0 ||
            ::symlink("udev", "/run/udev") != 0) {
            ::_exit(77);
        }
        HidrawTransport transport;
        transport.RegisterNotifications();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "no private mount namespace here";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

} // namespace
} // namespace xk
