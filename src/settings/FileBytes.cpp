#include "settings/FileBytes.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace xk {

namespace fs = std::filesystem;

namespace {

// Writes, flushes and, where the system can, syncs to disk; closes in every case.
bool WriteAndClose(std::FILE* out, std::string_view bytes) {
    bool good =
        std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0;
#if defined(__unix__) || defined(__APPLE__)
    // Standard C++ has no way to reach the disk itself.
    good = good && ::fsync(::fileno(out)) == 0;
#endif
    return std::fclose(out) == 0 && good;
}

// Overwrites the file's bytes, then cuts it to their length.
bool WriteInPlace(const fs::path& file, std::string_view bytes) {
    std::FILE* out = std::fopen(file.c_str(), "r+b");
    if (out == nullptr || !WriteAndClose(out, bytes)) {
        return false;
    }
    std::error_code ec;
    fs::resize_file(file, bytes.size(), ec);
    return !ec;
}

fs::path TemporaryBeside(const fs::path& file) {
    // One random number per process (a random_device costs more than the write of a small
    // file), and a count within it.
    static const unsigned process = std::random_device{}();
    static std::atomic<unsigned> counter{0};
    fs::path temp = file;
    temp += ".tmp" + std::to_string(process) + "-" + std::to_string(counter++);
    return temp;
}

} // namespace

std::optional<std::string> ReadFileBytes(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return std::move(buffer).str();
}

bool WriteFileAtomically(const fs::path& file, std::string_view bytes) {
    std::error_code ec;
    const fs::file_status existing = fs::status(file, ec);
    const bool exists = !ec && fs::is_regular_file(existing);
    const fs::path temp = TemporaryBeside(file);
    errno = 0;
    std::FILE* out = std::fopen(temp.c_str(), "wbx");
    if (out == nullptr) {
        // A folder that refuses new files may hold a writable file: changing it where it lies
        // beats dropping the change. Not on a full disk, where it could cut the file short.
        if (!exists || (errno != EACCES && errno != EPERM)) {
            return false;
        }
        return WriteInPlace(file, bytes);
    }
    if (!WriteAndClose(out, bytes)) {
        fs::remove(temp, ec);
        return false;
    }
    if (exists) {
        fs::permissions(temp, existing.permissions(), fs::perm_options::replace, ec);
    }
    fs::rename(temp, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

} // namespace xk
