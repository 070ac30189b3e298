// Arbitrary bytes on the program's single-instance socket: the request reader and parser stay
// in bounds, a parsed command survives its own encoding, and the command line parser copes
// with whatever arguments a request carries.
#include "ctl/Arguments.h"
#include "ctl/RequestProtocol.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace xk::ctl;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The bytes arrive in pieces; the first byte picks the piece size.
    const size_t piece = bytes.empty() ? 1 : size_t{static_cast<unsigned char>(bytes[0])} % 64 + 1;
    RequestReader reader;
    for (size_t at = 0; at < bytes.size() && reader.state() == RequestReader::State::Waiting;
         at += piece) {
        reader.Feed(bytes.substr(at, piece));
    }
    Check(reader.Line().size() <= kMaxRequestBytes);
    if (reader.state() != RequestReader::State::Complete) {
        return 0;
    }

    const Request request = ParseRequest(reader.Line());
    Check(request.arguments.size() <= kMaxRequestArguments);
    if (request.kind != Request::Kind::Run) {
        Check(request.arguments.empty());
        return 0;
    }
    // What the program parses is what a client would have sent for these arguments.
    const std::string line = EncodeRequest(request.arguments);
    Check(ParseRequest(std::string_view(line).substr(0, line.size() - 1)) == request);

    const ParsedArguments parsed = ParseArguments(request.arguments);
    if (parsed.error.empty()) {
        const ParsedArguments again = ParseArguments(CommandArguments(parsed.command));
        Check(again.error.empty() && again.command == parsed.command);
    }
    return 0;
}
