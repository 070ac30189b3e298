#include "platform/TransportChoice.h"

#include "platform/HidrawTransport.h"
#include "platform/SocketTransport.h"

#include <gtest/gtest.h>

namespace xk {
namespace {

TEST(TransportChoiceTest, VirtualMouseOptionTakesAnOptionalPath) {
    EXPECT_FALSE(ParseCommandLine({}).virtualMouseSocket);
    EXPECT_EQ(ParseCommandLine({"--virtual-mouse", "/tmp/a.sock"}).virtualMouseSocket,
              "/tmp/a.sock");
    EXPECT_EQ(ParseCommandLine({"--virtual-mouse"}).virtualMouseSocket,
              DefaultVirtualMouseSocket().path.string());
    EXPECT_TRUE(ParseCommandLine({}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--verbose"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--virtual-mouse", "a", "b"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--virtual-mouse", "--virtual-mouse"}).error.empty());
}

TEST(TransportChoiceTest, HiddenGoesWithOrWithoutTheVirtualMouse) {
    EXPECT_FALSE(ParseCommandLine({}).hidden);
    const CommandLine hidden = ParseCommandLine({"--hidden"});
    EXPECT_TRUE(hidden.hidden);
    EXPECT_TRUE(hidden.error.empty());
    EXPECT_FALSE(hidden.virtualMouseSocket);
    // --hidden is not taken for the socket's path.
    const CommandLine both = ParseCommandLine({"--virtual-mouse", "--hidden"});
    EXPECT_TRUE(both.hidden);
    EXPECT_EQ(both.virtualMouseSocket, DefaultVirtualMouseSocket().path.string());
    const CommandLine after = ParseCommandLine({"--hidden", "--virtual-mouse", "/tmp/a.sock"});
    EXPECT_TRUE(after.hidden);
    EXPECT_EQ(after.virtualMouseSocket, "/tmp/a.sock");
    EXPECT_FALSE(ParseCommandLine({"--hidden", "--hidden"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--hidden=1"}).error.empty());
}

TEST(TransportChoiceTest, HelpAndVersionAreAnsweredWhateverElseStands) {
    struct Case {
        std::vector<std::string> words;
        bool help;
        bool version;
        bool refused;
    };
    const std::vector<Case> cases = {
        {{"--help"}, true, false, false},
        {{"-h"}, true, false, false},
        {{"--version"}, false, true, false},
        {{"--hidden", "--help"}, true, false, false},
        // A fault before or after does not hide them; main answers them first.
        {{"--verbose", "--help"}, true, false, true},
        {{"--version", "--hidden", "--hidden"}, false, true, true},
        {{"--help=all"}, false, false, true},
        {{"help"}, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.words));
        const CommandLine parsed = ParseCommandLine(c.words);
        EXPECT_EQ(parsed.help, c.help);
        EXPECT_EQ(parsed.version, c.version);
        EXPECT_EQ(!parsed.error.empty(), c.refused) << parsed.error;
    }
}

TEST(TransportChoiceTest, DefaultSocketIsInTheUsersSocketFolder) {
    const SocketPlace place = DefaultVirtualMouseSocket();
    ASSERT_EQ(place.error, "");
    EXPECT_EQ(place.path,
              ChooseSocketFolder(UserSocketFolderCandidates()).path / "xk-r40-vmouse.sock");
}

TEST(TransportChoiceTest, MakesTheTransportTheCommandLineAsksFor) {
    const auto hidraw = MakeTransport(ParseCommandLine({}));
    EXPECT_NE(dynamic_cast<HidrawTransport*>(hidraw.get()), nullptr);
    const auto socket = MakeTransport(ParseCommandLine({"--virtual-mouse", "/tmp/x.sock"}));
    EXPECT_NE(dynamic_cast<SocketTransport*>(socket.get()), nullptr);
}

} // namespace
} // namespace xk
