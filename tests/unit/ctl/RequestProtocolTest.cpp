#include "ctl/RequestProtocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace xk::ctl {
namespace {

TEST(RequestProtocol, ArgumentsOfAnyBytesSurviveOneLine) {
    const std::vector<std::string> arguments = {
        "set",       "K5",    "Volume Up",  "音量加", "100%",
        "a\tb\r\nc", "--yes", "~/x:y,z+=@", "-5",     std::string(1, '\x7f')};
    const std::string line = EncodeRequest(arguments);
    ASSERT_EQ(line.back(), '\n');
    const std::string body = line.substr(0, line.size() - 1);
    EXPECT_EQ(std::count(body.begin(), body.end(), ' '), static_cast<long>(arguments.size()));
    EXPECT_TRUE(std::all_of(body.begin(), body.end(), [](char c) { return c > ' ' || c == ' '; }));
    EXPECT_EQ(ParseRequest(body), (Request{Request::Kind::Run, arguments, {}}));
    EXPECT_EQ(ParseRequest("show").kind, Request::Kind::Show);
}

TEST(RequestProtocol, MalformedRequestsAreRefused) {
    std::string tooMany = "run";
    for (size_t i = 0; i <= kMaxRequestArguments; ++i) {
        tooMany += " a";
    }
    const std::vector<std::string> lines = {
        "",       "run",       "run ",   "run  status", "runstatus", "run status ",
        "run %4", "run %zz",   "run a%", "run a\x01",   "run %00",   "run a\xc3\xa9",
        "hello",  "show more", "SHOW",   tooMany,
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        const Request request = ParseRequest(line);
        EXPECT_EQ(request.kind, Request::Kind::Malformed);
        EXPECT_FALSE(request.error.empty());
    }
}

TEST(RequestProtocol, ReaderTakesOneLineInPiecesAndStopsAtTheLimit) {
    RequestReader pieces;
    EXPECT_EQ(pieces.Feed("ru"), RequestReader::State::Waiting);
    EXPECT_EQ(pieces.Feed("n sta"), RequestReader::State::Waiting);
    EXPECT_EQ(pieces.Feed("tus\r\nrun apply\n"), RequestReader::State::Complete);
    EXPECT_EQ(pieces.Line(), "run status");
    EXPECT_EQ(pieces.Feed("more"), RequestReader::State::Complete);
    EXPECT_EQ(pieces.Line(), "run status");

    RequestReader full;
    EXPECT_EQ(full.Feed(std::string(kMaxRequestBytes, 'a')), RequestReader::State::Waiting);
    EXPECT_EQ(full.Feed("\n"), RequestReader::State::Complete);

    RequestReader endless;
    const std::string chunk(1000, 'a');
    RequestReader::State state = RequestReader::State::Waiting;
    for (int i = 0; i < 20 && state == RequestReader::State::Waiting; ++i) {
        state = endless.Feed(chunk);
    }
    EXPECT_EQ(state, RequestReader::State::TooLong);
    EXPECT_EQ(endless.Feed("\n"), RequestReader::State::TooLong);
}

TEST(RequestProtocol, AnswerLinesCarryBothStreamsAndTheStatus) {
    CommandOutput output;
    output.Print("one\ntwo");
    output.Error("bad");
    const std::string answer = EncodeAnswer(output, 2);
    EXPECT_EQ(answer, "out one\nout two\nerr bad\nexit 2\n");

    std::vector<AnswerLine> lines;
    size_t start = 0;
    for (size_t end = answer.find('\n'); end != std::string::npos; end = answer.find('\n', start)) {
        lines.push_back(ParseAnswerLine(std::string_view(answer).substr(start, end - start)));
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].kind, AnswerLine::Kind::Out);
    EXPECT_EQ(lines[1].text, "two");
    EXPECT_EQ(lines[2].kind, AnswerLine::Kind::Err);
    EXPECT_EQ(lines[3].kind, AnswerLine::Kind::Exit);
    EXPECT_EQ(lines[3].exitStatus, 2);
    for (const char* bad : {"exit", "exit x", "exit 1234", "output", "OUT x"}) {
        EXPECT_EQ(ParseAnswerLine(bad).kind, AnswerLine::Kind::Malformed) << bad;
    }
}

} // namespace
} // namespace xk::ctl
