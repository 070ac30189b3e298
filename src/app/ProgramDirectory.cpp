#include "app/ProgramDirectory.h"

#include <system_error>

namespace xk {

std::filesystem::path DirectoryOfProgram(std::string_view programPath) {
    const size_t slash = programPath.rfind('/');
    if (slash == std::string_view::npos) {
        return {};
    }
    return std::filesystem::path(programPath.substr(0, slash));
}

std::filesystem::path ProgramDirectory() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : DirectoryOfProgram(exe.string());
}

std::filesystem::path ConfigPathIn(const std::filesystem::path& programDirectory) {
    return programDirectory / "config.ini";
}

} // namespace xk
