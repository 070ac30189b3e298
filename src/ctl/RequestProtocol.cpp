#include "ctl/RequestProtocol.h"

#include "ctl/ExitCodes.h"
#include "settings/HexDigit.h"

#include <optional>

namespace xk::ctl {

namespace {

constexpr std::string_view kRunWord = "run";
constexpr std::string_view kOutWord = "out ";
constexpr std::string_view kErrWord = "err ";
constexpr std::string_view kExitWord = "exit ";
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

bool Plain(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("-._~/:,+=@").find(static_cast<char>(c)) != std::string_view::npos;
}

// The bytes of one percent-encoded word; nothing when it is not one.
std::optional<std::string> Decode(std::string_view word) {
    std::string bytes;
    for (size_t i = 0; i < word.size(); ++i) {
        const auto c = static_cast<unsigned char>(word[i]);
        if (c == '%') {
            if (i + 2 >= word.size()) {
                return std::nullopt;
            }
            const std::optional<int> high = HexDigitValue(word[i + 1]);
            const std::optional<int> low = HexDigitValue(word[i + 2]);
            if (!high || !low) {
                return std::nullopt;
            }
            bytes += static_cast<char>(*high * 16 + *low);
            i += 2;
        } else if (Plain(c)) {
            bytes += static_cast<char>(c);
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

Request Malformed(std::string error) {
    Request request;
    request.error = std::move(error);
    return request;
}

} // namespace

std::string EncodeRequest(const std::vector<std::string>& arguments) {
    std::string line(kRunWord);
    for (const std::string& argument : arguments) {
        line += ' ';
        if (argument.empty()) {
            line += "%00"; // arguments are never empty: this one is refused as malformed
            continue;
        }
        for (const char c : argument) {
            const auto byte = static_cast<unsigned char>(c);
            if (Plain(byte)) {
                line += c;
            } else {
                line += '%';
                line += kHexDigits[byte >> 4];
                line += kHexDigits[byte & 0x0F];
            }
        }
    }
    line += '\n';
    return line;
}

Request ParseRequest(std::string_view line) {
    if (line == kShowRequest) {
        return {Request::Kind::Show, {}, {}};
    }
    if (line.size() > kMaxRequestBytes) {
        return Malformed("request too long");
    }
    if (!line.starts_with(kRunWord) || (line.size() > kRunWord.size() && line[3] != ' ')) {
        return Malformed("unknown request");
    }
    Request request{Request::Kind::Run, {}, {}};
    std::string_view rest = line.substr(kRunWord.size());
    while (!rest.empty()) {
        rest.remove_prefix(1); // the space before each word
        const size_t space = rest.find(' ');
        const std::string_view word = rest.substr(0, space);
        const std::optional<std::string> argument = Decode(word);
        if (word.empty() || !argument || argument->empty() ||
            argument->find('\0') != std::string::npos) {
            return Malformed("malformed argument " + std::to_string(request.arguments.size() + 1));
        }
        if (request.arguments.size() == kMaxRequestArguments) {
            return Malformed("more than " + std::to_string(kMaxRequestArguments) + " arguments");
        }
        request.arguments.push_back(*argument);
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space);
    }
    if (request.arguments.empty()) {
        return Malformed("run without a command");
    }
    return request;
}

RequestReader::State RequestReader::Feed(std::string_view bytes) {
    if (state_ != State::Waiting) {
        return state_;
    }
    const size_t newline = bytes.find('\n');
    line_.append(bytes.substr(0, newline));
    if (line_.size() > kMaxRequestBytes) {
        line_.clear();
        state_ = State::TooLong;
    } else if (newline != std::string_view::npos) {
        if (!line_.empty() && line_.back() == '\r') {
            line_.pop_back();
        }
        state_ = State::Complete;
    }
    return state_;
}

std::string EncodeAnswer(const CommandOutput& output, int exitStatus) {
    std::string answer;
    for (const CommandOutput::Line& line : output.lines()) {
        answer += line.error ? kErrWord : kOutWord;
        answer += line.text;
        answer += '\n';
    }
    answer += kExitWord;
    answer += std::to_string(exitStatus);
    answer += '\n';
    return answer;
}

std::string EncodeRefusal(std::string_view error) {
    CommandOutput output;
    output.Error("xk-r40 refused the request: " + std::string(error));
    return EncodeAnswer(output, kExitRefused);
}

AnswerLine ParseAnswerLine(std::string_view line) {
    AnswerLine answer;
    if (line.starts_with(kOutWord) || line.starts_with(kErrWord)) {
        answer.kind = line.starts_with(kOutWord) ? AnswerLine::Kind::Out : AnswerLine::Kind::Err;
        answer.text = std::string(line.substr(kOutWord.size()));
    } else if (line.starts_with(kExitWord)) {
        const std::string_view digits = line.substr(kExitWord.size());
        if (digits.empty() || digits.size() > 3 ||
            digits.find_first_not_of("0123456789") != std::string_view::npos) {
            return answer;
        }
        answer.kind = AnswerLine::Kind::Exit;
        for (const char c : digits) {
            answer.exitStatus = answer.exitStatus * 10 + (c - '0');
        }
    }
    return answer;
}

} // namespace xk::ctl
