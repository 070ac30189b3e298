#include "ctl/MouseDiagnosis.h"
#include "ctl/PeerCredentials.h"
#include "support/TempDir.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace xk::ctl {
namespace {

using test::TempDir;
using test::WriteFile;

class MouseDiagnosisTest : public testing::Test {
protected:
    void AddNode(const std::string& node, const std::string& hidId) {
        std::filesystem::create_directories(sysfs / node / "device");
        WriteFile(sysfs / node / "device" / "uevent",
                  "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=test\n");
    }
    std::string Why() const {
        return WhyNoHidrawMouse(
            sysfs, "/dev",
            [this](const std::filesystem::path& node) {
                return closed.count(node.filename().string()) == 0;
            },
            "ADVICE");
    }

    TempDir dir;
    std::filesystem::path sysfs = dir / "hidraw";
    std::set<std::string> closed;
};

TEST_F(MouseDiagnosisTest, TellsAMissingMouseFromOneThatMayNotBeOpened) {
    EXPECT_NE(Why().find("no XK-R40 is plugged in"), std::string::npos);
    AddNode("hidraw0", "0003:0000046D:0000C52B"); // another mouse
    EXPECT_NE(Why().find("no XK-R40 is plugged in"), std::string::npos);

    AddNode("hidraw3", "0003:000018F8:00001286");
    AddNode("hidraw4", "0003:000018f8:00001286");
    closed = {"hidraw0", "hidraw4"};
    const std::string why = Why();
    EXPECT_NE(why.find("may not open /dev/hidraw4; ADVICE"), std::string::npos) << why;

    closed.clear();
    EXPECT_NE(Why().find("could not be opened"), std::string::npos);
}

TEST(UdevRuleAdvice, ReplugWhereInstalledElseTheCommandFromTheInstalledCopy) {
    TempDir dir;
    const std::filesystem::path delivered = dir / "share" / "xk-r40" / "70-xk-r40.rules";
    const std::filesystem::path system = dir / "rules.d" / "70-xk-r40.rules";
    const std::string line = R"(KERNEL=="hidraw*", TAG+="uaccess")";
    std::filesystem::create_directories(delivered.parent_path());
    WriteFile(delivered, "# a comment\n" + line + "\n");

    const std::string install = UdevRuleAdvice(delivered, {system});
    EXPECT_NE(install.find("echo '" + line +
                           "' | sudo tee /etc/udev/rules.d/70-xk-r40.rules >/dev/null && sudo "
                           "udevadm control --reload-rules"),
              std::string::npos)
        << install;
    EXPECT_NE(install.find(delivered.string()), std::string::npos) << install;

    std::filesystem::create_directories(system.parent_path());
    WriteFile(system, line + "\n");
    const std::string replug = UdevRuleAdvice(delivered, {dir / "none.rules", system});
    EXPECT_NE(replug.find(system.string()), std::string::npos) << replug;
    EXPECT_NE(replug.find("plug it in again"), std::string::npos) << replug;
    EXPECT_EQ(replug.find("sudo tee"), std::string::npos) << replug;

    const std::string missing = UdevRuleAdvice(dir / "gone.rules", {});
    EXPECT_NE(missing.find("is not installed"), std::string::npos) << missing;
}

TEST(PeerCredentials, OnlyThisUsersPeersPass) {
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    EXPECT_TRUE(PeerIsSameUser(pair[0]));
    ::close(pair[0]);
    ::close(pair[1]);
    EXPECT_FALSE(PeerIsSameUser(-1));

    if (::geteuid() != 0) {
        GTEST_SKIP() << "a peer of another user needs root to make";
    }
    // A peer that runs as nobody, on a socket open to everyone.
    TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    const std::string path = (dir / "s").string();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::chmod(path.c_str(), 0777);
    ASSERT_EQ(::listen(listener, 1), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const int client = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool ok =
            ::setgid(65534) == 0 && ::setuid(65534) == 0 &&
            ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        char byte = 0;
        (void)!::read(client, &byte, 1); // until the parent closes
        ::_exit(ok ? 0 : 1);
    }
    pollfd waiting{listener, POLLIN, 0};
    ASSERT_EQ(::poll(&waiting, 1, 20000), 1) << "the peer did not connect";
    const int accepted = ::accept(listener, nullptr, nullptr);
    ASSERT_GE(accepted, 0);
    EXPECT_FALSE(PeerIsSameUser(accepted));
    ::close(accepted);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ::close(listener);
}

} // namespace
} // namespace xk::ctl
