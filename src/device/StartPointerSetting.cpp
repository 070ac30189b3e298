#include "device/StartPointerSetting.h"

#include "settings/FileBytes.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace xk {
namespace {

// A setting is one short line of printable text.
constexpr size_t kMaxSettingLength = 4096;

bool Printable(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && c != 0x7f;
    });
}

// The setting in the file; nothing when there is none or it is not one line of text.
std::optional<std::string> ReadSetting(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text(kMaxSettingLength + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() > kMaxSettingLength) {
        return std::nullopt;
    }
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return Printable(text) ? std::optional<std::string>(text) : std::nullopt;
}

} // namespace

StartPointerSetting::StartPointerSetting(SystemSettings& system, std::filesystem::path file)
    : system_(system), file_(std::move(file)) {}

void StartPointerSetting::Keep() {
    if (std::optional<std::string> left = ReadSetting(file_)) {
        system_.RestorePointerSetting(*left);
        kept_ = std::move(left);
        return;
    }
    kept_ = system_.PointerSetting();
    if (kept_ && !Printable(*kept_)) {
        kept_.reset();
    }
    std::error_code error;
    if (kept_) {
        // Not written (a read-only folder): the exit still puts it back.
        WriteFileAtomically(file_, *kept_ + "\n");
    } else {
        std::filesystem::remove(file_, error);
    }
}

void StartPointerSetting::PutBack() {
    if (!kept_) {
        RestoreDefaultPointerSpeed(system_);
        return;
    }
    system_.RestorePointerSetting(*kept_);
    std::error_code error;
    std::filesystem::remove(file_, error);
}

} // namespace xk
