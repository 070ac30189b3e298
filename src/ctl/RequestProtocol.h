#pragma once

#include "ctl/CommandOutput.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace xk::ctl {

// The lines spoken over the program's single-instance socket. A connection sends one request
// line and gets the answer's lines, then the program closes it:
//   show                 the window shows and is restored; no answer
//   run ARG ARG...       a command of xk-r40-ctl, each argument percent-encoded (every byte
//                        but letters, digits and - . _ ~ / : , + = @ becomes %XX); the answer
//                        is "out TEXT" and "err TEXT" lines, then "exit STATUS"
// A request that is malformed or longer than kMaxRequestBytes gets "err TEXT", "exit 2".
inline constexpr size_t kMaxRequestBytes = 16 * 1024;
inline constexpr size_t kMaxRequestArguments = 64;
inline constexpr std::string_view kShowRequest = "show";

std::string EncodeRequest(const std::vector<std::string>& arguments);

struct Request {
    enum class Kind { Show, Run, Malformed };
    Kind kind = Kind::Malformed;
    std::vector<std::string> arguments; // Run
    std::string error;                  // Malformed: what is wrong

    bool operator==(const Request&) const = default;
};
// One request line without its newline.
Request ParseRequest(std::string_view line);

// Collects a connection's bytes until its first line is complete.
class RequestReader {
public:
    enum class State { Waiting, Complete, TooLong };
    // Adds bytes; once Complete or TooLong, later bytes are ignored.
    State Feed(std::string_view bytes);
    State state() const { return state_; }
    // The complete line, without its newline (and a carriage return before it).
    std::string_view Line() const { return line_; }

private:
    State state_ = State::Waiting;
    std::string line_;
};

// The answer's lines, the last one "exit STATUS".
std::string EncodeAnswer(const CommandOutput& output, int exitStatus);
// The answer to a request that is malformed or too long.
std::string EncodeRefusal(std::string_view error);

struct AnswerLine {
    enum class Kind { Out, Err, Exit, Malformed };
    Kind kind = Kind::Malformed;
    std::string text;
    int exitStatus = 0;
};
AnswerLine ParseAnswerLine(std::string_view line);

} // namespace xk::ctl
