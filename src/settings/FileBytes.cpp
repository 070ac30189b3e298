#include "settings/FileBytes.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/stat.h>
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

constexpr std::string_view kTemporaryMark = ".tmp";

fs::path TemporaryBeside(const fs::path& file) {
    // One random number per process (a random_device costs more than the write of a small
    // file), and a count within it.
    static const unsigned process = std::random_device{}();
    static std::atomic<unsigned> counter{0};
    fs::path temp = file;
    temp += std::string(kTemporaryMark) + std::to_string(process) + "-" + std::to_string(counter++);
    return temp;
}

// Whether `name` is `file` followed by the mark, digits, '-' and digits (TemporaryBeside).
bool IsTemporaryOf(std::string_view name, std::string_view file) {
    if (name.size() <= file.size() + kTemporaryMark.size() || !name.starts_with(file) ||
        name.substr(file.size(), kTemporaryMark.size()) != kTemporaryMark) {
        return false;
    }
    const std::string_view rest = name.substr(file.size() + kTemporaryMark.size());
    const size_t dash = rest.find('-');
    const auto digits = [](std::string_view part) {
        return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    return dash != std::string_view::npos && digits(rest.substr(0, dash)) &&
           digits(rest.substr(dash + 1));
}

} // namespace

std::optional<fs::path> WriteTarget(const fs::path& file) {
    // As many links as the kernel follows in one path before it says ELOOP.
    constexpr int kMaxLinks = 40;
    fs::path target = file;
    for (int i = 0; i <= kMaxLinks; ++i) {
        std::error_code ec;
        if (!fs::is_symlink(target, ec)) {
            return target;
        }
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) {
            return std::nullopt;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return std::nullopt;
}

bool RootWouldTakeOver(const fs::path& file) {
#if defined(__unix__) || defined(__APPLE__)
    if (::geteuid() != 0) {
        return false;
    }
    struct stat info {};
    if (::stat(file.c_str(), &info) == 0) {
        return info.st_uid != 0;
    }
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    return ::stat(folder.c_str(), &info) == 0 && info.st_uid != 0;
#else
    (void)file;
    return false;
#endif
}

void RemoveLeftoverTemporaries(const fs::path& file) {
    const auto target = WriteTarget(file);
    if (!target) {
        return;
    }
    const std::string name = target->filename().string();
    const fs::path folder = target->parent_path().empty() ? fs::path(".") : target->parent_path();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ignored;
        if (IsTemporaryOf(it->path().filename().string(), name) &&
            it->symlink_status(ignored).type() == fs::file_type::regular) {
            fs::remove(it->path(), ignored);
        }
    }
}

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

bool WriteFileAtomically(const fs::path& link, std::string_view bytes, NewFileAccess access) {
    const auto target = WriteTarget(link);
    if (!target || RootWouldTakeOver(*target)) {
        return false;
    }
    const fs::path& file = *target;
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
    // The permissions are set before anything is written into the temporary file.
    if (exists) {
        fs::permissions(temp, existing.permissions(), fs::perm_options::replace, ec);
    } else if (access == NewFileAccess::Owner) {
        fs::permissions(temp, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::replace, ec);
    }
    if (!WriteAndClose(out, bytes)) {
        fs::remove(temp, ec);
        return false;
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
