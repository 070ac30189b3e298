#include "ctl/Arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace xk::ctl {
namespace {

using Words = std::vector<std::string>;

Command Make(Verb verb) {
    Command command;
    command.verb = verb;
    return command;
}

TEST(CtlArguments, EveryCommandParsesAndComesBackFromItsArguments) {
    Command config = Make(Verb::Config);
    config.configuration = 3;
    Command set = Make(Verb::Set);
    set.assignments = {{"k5", "Volume Up"}, {"FIRE_TIME", "-1"}, {"K1", "-y"}};
    Command exportProfile = Make(Verb::ProfileExport);
    exportProfile.file = "my profile.ini";
    Command importMacros = Make(Verb::MacrosImport);
    importMacros.file = "/tmp/m.dat";
    Command helpSet = Make(Verb::Help);
    helpSet.helpTopic = "set";
    Command helpMacros = Make(Verb::Help);
    helpMacros.helpTopic = "macros";

    const std::vector<std::pair<Words, Command>> cases = {
        {{"status"}, Make(Verb::Status)},
        {{"functions"}, Make(Verb::Functions)},
        {{"apply"}, Make(Verb::Apply)},
        {{"config", "3"}, config},
        // Values may look like options: only whole option words are options.
        {{"set", "k5", "Volume Up", "FIRE_TIME", "-1", "K1", "-y"}, set},
        {{"profile", "export", "my profile.ini"}, exportProfile},
        {{"macros", "import", "/tmp/m.dat"}, importMacros},
        {{"macros", "list"}, Make(Verb::MacrosList)},
        {{"reset", "--yes"}, Make(Verb::Reset)},
        {{"reset", "-y"}, Make(Verb::Reset)},
        {{"--help"}, Make(Verb::Help)},
        {{"help", "set"}, helpSet},
        {{"set", "K0", "--help"}, helpSet},
        {{"-h", "macros", "list"}, helpMacros},
    };
    for (const auto& [words, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(words));
        const ParsedArguments parsed = ParseArguments(words);
        ASSERT_EQ(parsed.error, "");
        EXPECT_EQ(parsed.command, expected);
        const ParsedArguments again = ParseArguments(CommandArguments(parsed.command));
        EXPECT_EQ(again.error, "");
        EXPECT_EQ(again.command, expected);
    }
}

TEST(CtlArguments, RefusedArgumentsSayWhy) {
    const std::vector<std::pair<Words, std::string>> cases = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"--frob", "status"}, "unknown option '--frob'"},
        {{"status", "--frob"}, "unknown option '--frob'"},
        {{"status", "now"}, "takes no arguments"},
        {{"config"}, "one configuration number"},
        {{"config", "6"}, "'6' is not one of 1..5"},
        {{"config", "0"}, "not one of 1..5"},
        {{"config", "3x"}, "not one of 1..5"},
        {{"set"}, "KEY VALUE pairs"},
        {{"set", "K0", "1", "K1"}, "KEY VALUE pairs"},
        {{"set", "K0", ""}, "argument 3 is empty"},
        {{"profile", "save", "a.ini"}, "profile export FILE"},
        {{"profile", "import"}, "profile export FILE"},
        {{"macros", "list", "extra"}, "macros list"},
        {{"reset"}, "confirm with: reset --yes"},
        {{"reset", "now"}, "only --yes"},
        {{"help", "nothing"}, "no command is named 'nothing'"},
        {{"--virtual-mouse="}, "needs a socket"},
    };
    for (const auto& [words, fragment] : cases) {
        SCOPED_TRACE(testing::PrintToString(words));
        EXPECT_NE(ParseArguments(words).error.find(fragment), std::string::npos)
            << ParseArguments(words).error;
    }
}

TEST(CtlArguments, VirtualMouseStandsAnywhereWithOrWithoutItsSocket) {
    struct Case {
        Words words;
        Verb verb;
        std::string socket;
    };
    const std::vector<Case> cases = {
        {{"--virtual-mouse", "status"}, Verb::Status, ""},
        {{"--virtual-mouse", "/run/v.sock", "config", "2"}, Verb::Config, "/run/v.sock"},
        {{"status", "--virtual-mouse"}, Verb::Status, ""},
        {{"config", "2", "--virtual-mouse=/t.sock"}, Verb::Config, "/t.sock"},
        {{"--virtual-mouse", "--help"}, Verb::Help, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.words));
        const ParsedArguments parsed = ParseArguments(c.words);
        ASSERT_EQ(parsed.error, "");
        EXPECT_TRUE(parsed.virtualMouse);
        EXPECT_EQ(parsed.virtualMouseSocket, c.socket);
        EXPECT_EQ(parsed.command.verb, c.verb);
    }
    EXPECT_FALSE(ParseArguments({"status"}).virtualMouse);
}

TEST(CtlArguments, VersionStandsAloneOrWithACommandAndHelpWins) {
    EXPECT_TRUE(ParseArguments({"--version"}).version);
    EXPECT_EQ(ParseArguments({"--version"}).error, "");
    EXPECT_TRUE(ParseArguments({"status", "--version"}).version);
    EXPECT_FALSE(ParseArguments({"status"}).version);
    const ParsedArguments both = ParseArguments({"--version", "--help"});
    EXPECT_FALSE(both.version);
    EXPECT_EQ(both.command.verb, Verb::Help);
    EXPECT_NE(ParseArguments({"--version", "--frob"}).error, "");
}

} // namespace
} // namespace xk::ctl
