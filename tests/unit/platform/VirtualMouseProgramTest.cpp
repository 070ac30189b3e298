// The device link against the real xk-r40-vmouse program over its socket.

#include "ChildProcess.h"
#include "device/DeviceLink.h"
#include "device/MouseProtocol.h"
#include "platform/SocketTransport.h"
#include "platform/UnixSocket.h"
#include "platform/VirtualMouseProtocol.h"
#include "support/TempDir.h"
#include "support/fakes/RecordingLauncher.h"
#include "support/fakes/RecordingSystemSettings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

namespace xk {
namespace {

using namespace std::chrono_literals;
using testing::HasSubstr;

const std::string kProgram = XK_VMOUSE_PROGRAM;

class VirtualMouseProgramTest : public testing::Test {
protected:
    void SetUp() override {
        Serve({});
        settings.configPath = dir / "config.ini";
        settings.currentConfig.store(1);
    }

    // (Re)starts the server with the options given.
    void Serve(std::vector<std::string> options) {
        if (server) {
            server->Signal(SIGTERM);
            ASSERT_EQ(server->Wait(), 0);
        }
        std::vector<std::string> argv = {kProgram, "--socket", socket, "serve"};
        argv.insert(argv.end(), options.begin(), options.end());
        argv.insert(argv.end(), {"--log", (dir / "vmouse.log").string()});
        server = std::make_unique<test::ChildProcess>(argv);
        ASSERT_EQ(server->ReadLine(), "serving " + socket);
    }

    test::RunResult Command(std::vector<std::string> words) const {
        words.insert(words.begin(), {kProgram, "--socket", socket});
        return test::Run(words);
    }
    std::string Log() const { return Command({"log"}).output; }
    std::vector<std::string> FeatureLines() const {
        std::vector<std::string> lines;
        std::istringstream in(Log());
        for (std::string line; std::getline(in, line);) {
            if (line.find(" feature ") != std::string::npos) {
                lines.push_back(line.substr(line.find(" feature ") + 9));
            }
        }
        return lines;
    }
    template <typename Predicate> static bool WaitUntil(Predicate predicate) {
        for (int i = 0; i < 5000 && !predicate(); ++i) {
            std::this_thread::sleep_for(2ms);
        }
        return predicate();
    }

    test::TempDir dir;
    std::string socket = (dir / "vmouse.sock").string();
    std::unique_ptr<test::ChildProcess> server;
    Settings settings;
    MacroStore macros;
    test::RecordingLauncher launcher;
    test::RecordingSystemSettings system;
};

// User and system CPU time of process `pid`, in clock ticks.
long CpuTicks(int pid) {
    const std::string path = "/proc/" + std::to_string(pid) + "/stat";
    const UniqueFd stat(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    std::array<char, 1024> bytes{};
    const ssize_t got = stat.valid() ? ::read(stat.get(), bytes.data(), bytes.size()) : -1;
    const std::string text(bytes.data(), got > 0 ? static_cast<size_t>(got) : 0);
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n) {
        if (n == 14 || n == 15) {
            ticks += std::stol(field);
        }
    }
    return ticks;
}

TEST_F(VirtualMouseProgramTest, RestsWhileConnectionsCannotBeTaken) {
    server->Signal(SIGTERM);
    ASSERT_EQ(server->Wait(), 0);
    // Room for three connections besides its standard streams, signals and listening socket.
    server = std::make_unique<test::ChildProcess>(std::vector<std::string>{
        "/usr/bin/prlimit", "--nofile=8", kProgram, "--socket", socket, "serve"});
    ASSERT_EQ(server->ReadLine(), "serving " + socket);
    std::vector<UniqueFd> clients;
    for (int i = 0; i < 6; ++i) {
        clients.push_back(ConnectUnixSocket(socket));
        ASSERT_TRUE(clients.back().valid());
    }
    std::this_thread::sleep_for(200ms);
    const long before = CpuTicks(server->pid());
    std::this_thread::sleep_for(1s);
    // A loop on the failing accept takes all of the second it can get; resting takes none.
    EXPECT_LT(CpuTicks(server->pid()) - before, sysconf(_SC_CLK_TCK) / 5);
    clients.clear();
    EXPECT_EQ(Command({"state"}).status, 0) << "it no longer takes connections";
}

TEST_F(VirtualMouseProgramTest, TheMouseIsFoundAndTakesTheUpload) {
    SocketTransport transport(socket);
    DeviceLink link(transport, settings, macros, launcher, {});
    settings.buttonFunction[1].store(15);
    settings.buttonFunction[2].store(24);
    settings.dpiValue = {0, 3, 8, 11};
    settings.dpiEnabled = {1, 0, 1, 0};
    settings.dpiLevel.store(2);
    settings.ledMode = 3;
    settings.fireTime = 80;

    ASSERT_TRUE(link.connection().FindMouse());
    EXPECT_EQ(link.connection().ReadCaps(),
              (HidCaps{kInputUsagePage, kVendorUsage, 8, 0, {{6, 8, 0}}}));
    EXPECT_EQ(link.connection().WriteCaps(),
              (HidCaps{kFeatureUsagePage, kVendorUsage, 0, 8, {{7, 0, 8}}}));
    UploadSettings(settings, link.reports(), system, {});

    ASSERT_TRUE(WaitUntil([&] { return FeatureLines().size() == 15; }));
    EXPECT_EQ(FeatureLines()[1], "07 10 02 0b 00 00 00 00");
    EXPECT_EQ(FeatureLines()[11], "07 09 42 ba 05 00 00 00");
    const std::string state = Command({"state"}).output;
    EXPECT_THAT(state, HasSubstr("button2 11\n"));
    EXPECT_THAT(state, HasSubstr("button3 0\n"));
    EXPECT_THAT(state, HasSubstr("dpi_level 2\n"));
    EXPECT_THAT(state, HasSubstr("dpi_step2 11\n"));
    EXPECT_THAT(state, HasSubstr("dpi_enabled 05\n"));
    EXPECT_THAT(state, HasSubstr("led 7\n"));
    EXPECT_THAT(state, HasSubstr("fire_time 10\n"));

    // Every log line: microseconds, direction, the bytes; the file holds the same lines.
    const std::string log = Log();
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        EXPECT_TRUE(std::regex_match(line, std::regex("[0-9]+ feature( [0-9a-f]{2}){8}"))) << line;
    }
    EXPECT_EQ(test::ReadFile(dir / "vmouse.log"), log);
}

TEST_F(VirtualMouseProgramTest, ButtonsPressedFromTheShellReachTheExecutor) {
    SocketTransport transport(socket);
    DeviceLink link(transport, settings, macros, launcher, {});
    settings.buttonFunction[0].store(24); // volume up
    settings.buttonFunction[1].store(15); // DPI, followed
    link.Start();
    ASSERT_TRUE(link.connection().FindMouse());
    UploadSettings(settings, link.reports(), system, {});

    EXPECT_EQ(Command({"press", "1"}).status, 0);
    ASSERT_TRUE(WaitUntil([&] { return link.executor().EventsHandled() == 1; }));
    EXPECT_EQ(Command({"release", "1"}).status, 0);
    EXPECT_EQ(Command({"dpi", "3"}).status, 0);
    ASSERT_TRUE(WaitUntil([&] { return link.executor().EventsHandled() == 2; }));

    EXPECT_EQ(settings.dpiLevel.load(), 3);
    EXPECT_EQ(FeatureLines().back(), "07 17 00 e9 00 00 00 00");
    const std::string log = Log();
    EXPECT_THAT(log, HasSubstr(" input 06 f1 01 00 00 00 00 00\n"));
    EXPECT_THAT(log, HasSubstr(" input 06 f1 80 00 00 00 00 00\n"));
    EXPECT_THAT(log, HasSubstr(" input 06 f2 03 00 00 00 00 00\n"));
    EXPECT_THAT(Command({"state"}).output, HasSubstr("consumer 00e9\n"));
}

// Both vendor collections on one node, whose largest feature report is not report 7.
TEST_F(VirtualMouseProgramTest, AOneNodeMouseIsOpenedAndTakesReportsAtTheCollectionsLength) {
    Serve({"--one-node"});
    SocketTransport transport(socket);
    DeviceLink link(transport, settings, macros, launcher, {});
    settings.buttonFunction[0].store(24); // volume up
    link.Start();
    ASSERT_TRUE(link.connection().FindMouse());
    EXPECT_EQ(link.connection().ReadCaps().usagePage, kInputUsagePage);
    EXPECT_EQ(link.connection().WriteCaps().featureReportLength, 32);
    UploadSettings(settings, link.reports(), system, {});

    EXPECT_EQ(Command({"press", "1"}).status, 0);
    ASSERT_TRUE(WaitUntil([&] { return link.executor().EventsHandled() == 1; }));
    ASSERT_TRUE(WaitUntil([&] { return FeatureLines().size() == 16; }));
    for (const std::string& line : FeatureLines()) {
        EXPECT_EQ(line.size(), 32u * 3 - 1) << "not 32 bytes: " << line;
    }
    EXPECT_EQ(FeatureLines().back().substr(0, 23), "07 17 00 e9 00 00 00 00");
    const std::string state = Command({"state"}).output;
    EXPECT_THAT(state, HasSubstr("button1 0\n"));
    EXPECT_THAT(state, HasSubstr("refused_reports 0\n"));
}

TEST_F(VirtualMouseProgramTest, ASendFailsWhenTheMouseRefusesItOrDoesNotAnswer) {
    SocketTransport transport(socket);
    const auto device = transport.Open(vmouse::InterfacePath(socket, 3), HidAccess::Write);
    ASSERT_NE(device, nullptr);
    const std::array<uint8_t, 8> exit{7, 0x20};
    const std::array<uint8_t, 9> tooLong{7, 0x20};
    EXPECT_TRUE(device->SetFeature(exit));
    EXPECT_FALSE(device->SetFeature(tooLong));
    EXPECT_THAT(Command({"state"}).output, HasSubstr("refused_reports 1\n"));

    // A mouse that stops answering: the send gives up within its budget, the next at once
    // and unsent; once the mouse answers again, so do the sends.
    MouseConnection connection(transport);
    ASSERT_TRUE(connection.FindMouse());
    const std::array<uint8_t, kReportBufferSize> buffer{7, 0x20};
    server->Signal(SIGSTOP);
    SendBudget budget(300ms);
    EXPECT_EQ(connection.SendFeatureReport(buffer, budget), SendOutcome::NoAnswer);
    int waits = 0;
    SendBudget next(300ms, [&] { ++waits; });
    EXPECT_EQ(connection.SendFeatureReport(buffer, next), SendOutcome::NoAnswer);
    EXPECT_EQ(waits, 0) << "waited for a mouse known not to answer";
    server->Signal(SIGCONT);
    bool sent = false;
    EXPECT_TRUE(WaitUntil([&] {
        SendBudget later(5s);
        sent = sent || connection.SendFeatureReport(buffer, later) == SendOutcome::Sent;
        return sent;
    }));
    // The first, the one given up on while it waited, and the last.
    EXPECT_THAT(Command({"state"}).output, HasSubstr("exit_reports 3\n"));
}

TEST_F(VirtualMouseProgramTest, UnplugIsTheRemovalOfTheMouse) {
    SocketTransport transport(socket);
    DeviceLink link(transport, settings, macros, launcher, {});
    link.Start();
    ASSERT_TRUE(link.connection().FindMouse());
    int exits = 0;
    link.connection().SetRemovalHandler([&] { ++exits; });
    const int fd = link.connection().NotificationFd();
    ASSERT_GE(fd, 0);

    EXPECT_EQ(Command({"unplug"}).status, 0);
    pollfd ready{fd, POLLIN, 0};
    ASSERT_EQ(::poll(&ready, 1, 10000), 1);
    link.connection().ProcessDeviceChanges();

    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(link.connection().connected());
    EXPECT_EQ(server->Wait(), 0);
    EXPECT_FALSE(std::filesystem::exists(socket));
    ready.revents = 0;
    EXPECT_EQ(::poll(&ready, 1, 0), 0) << "nothing more to read: the watch is closed";
}

TEST_F(VirtualMouseProgramTest, SigtermEndsServingAndRemovesTheSocket) {
    server->Signal(SIGTERM);
    EXPECT_EQ(server->Wait(), 0);
    EXPECT_FALSE(std::filesystem::exists(socket));

    SocketTransport transport(socket);
    MouseConnection connection(transport);
    EXPECT_FALSE(connection.FindMouse());
    EXPECT_EQ(Command({"state"}).status, 1);
}

TEST_F(VirtualMouseProgramTest, CommandsRefuseBadArguments) {
    EXPECT_EQ(Command({"press", "0"}).status, 1);
    EXPECT_EQ(Command({"press", "x"}).status, 1);
    EXPECT_EQ(Command({"dpi", "1"}).status, 1) << "no button holds a DPI function yet";
    EXPECT_EQ(Command({"rate"}).status, 1);
    EXPECT_EQ(Command({"press"}).status, 2);
    EXPECT_EQ(Command({"fly"}).status, 2);
    EXPECT_EQ(Command({"serve"}).status, 1) << "the socket is already served";
    EXPECT_EQ(Command({"press", "9"}).status, 0);
    EXPECT_THAT(Log(), HasSubstr(" input 06 f9 01 00 00 00 00 00\n"));
}

} // namespace
} // namespace xk
