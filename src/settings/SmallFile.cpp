#include "settings/SmallFile.h"

#include <fstream>
#include <string>
#include <system_error>

namespace xk {

SmallFileRead LoadSmallIniDocument(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        return {std::nullopt, SmallFileProblem::Unreadable};
    }
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) {
        return {std::nullopt, SmallFileProblem::Unreadable};
    }
    if (size > kSmallFileLimit) {
        return {std::nullopt, SmallFileProblem::TooLarge};
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {std::nullopt, SmallFileProblem::Unreadable};
    }
    // One byte more than the limit tells a file that grew after its size was taken.
    std::string bytes(kSmallFileLimit + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        return {std::nullopt, SmallFileProblem::Unreadable};
    }
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (bytes.size() > kSmallFileLimit) {
        return {std::nullopt, SmallFileProblem::TooLarge};
    }
    return {IniDocument::Parse(bytes), SmallFileProblem::None};
}

} // namespace xk
