#include "settings/IniFile.h"

#include "settings/TextCodec.h"

#include <mutex>
#include <system_error>

namespace xk {

namespace fs = std::filesystem;

std::optional<IniDocument> LoadIniDocument(const fs::path& file) {
    const auto bytes = ReadFileBytes(file);
    if (!bytes) {
        return std::nullopt;
    }
    return IniDocument::Parse(*bytes);
}

bool SaveIniDocument(const fs::path& file, const IniDocument& doc) {
    return WriteFileAtomically(file, doc.Serialize());
}

std::string IniRead(const fs::path& file, std::string_view section, std::string_view key,
                    size_t capacity) {
    if (capacity == 0) {
        return {};
    }
    const auto doc = LoadIniDocument(file);
    if (!doc) {
        return {};
    }
    const auto value = doc->Get(section, key);
    if (!value) {
        return {};
    }
    return TruncateUtf16Units(*value, capacity - 1);
}

bool IniWrite(const fs::path& file, std::string_view section, std::string_view key,
              std::string_view value) {
    IniBatch batch(file);
    batch.Set(section, key, value);
    return batch.Commit();
}

namespace {
// Read-modify-write cycles of INI files are serialised, so that writes from two threads (the
// interface and the executor) never lose each other's keys.
std::mutex& IniWriteMutex() {
    static std::mutex mutex;
    return mutex;
}
} // namespace

IniBatch::IniBatch(fs::path file) : file_(std::move(file)) {}

void IniBatch::Set(std::string_view section, std::string_view key, std::string_view value) {
    pending_.push_back({std::string(section), std::string(key), std::string(value)});
}

bool IniBatch::Commit() {
    const std::lock_guard lock(IniWriteMutex());
    IniDocument doc;
    if (auto loaded = LoadIniDocument(file_)) {
        doc = std::move(*loaded);
    } else {
        // A file that exists but cannot be read is never replaced by a new one.
        std::error_code ec;
        if (fs::exists(fs::symlink_status(file_, ec))) {
            return false;
        }
    }
    for (const auto& entry : pending_) {
        doc.Set(entry.section, entry.key, entry.value);
    }
    pending_.clear();
    return SaveIniDocument(file_, doc);
}

} // namespace xk
