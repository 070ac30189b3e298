#include "platform/HidrawIdentity.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>

namespace xk {

namespace {

// The kernel's limit of a report descriptor.
constexpr size_t kMaxDescriptor = 4096;
// A uevent file is one page at most.
constexpr size_t kMaxUevent = 4096;

std::optional<uint32_t> Hex(std::string_view text) {
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() ||
        text.size() > 8) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::vector<uint8_t>> ReadFile(const std::filesystem::path& path, size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    char chunk[512];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > limit) {
            return std::nullopt;
        }
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace

std::optional<HidAttributes> ParseHidId(std::string_view uevent) {
    constexpr std::string_view kKey = "HID_ID=";
    while (!uevent.empty()) {
        const size_t end = uevent.find('\n');
        const std::string_view line = uevent.substr(0, end);
        uevent = end == std::string_view::npos ? std::string_view() : uevent.substr(end + 1);
        if (!line.starts_with(kKey)) {
            continue;
        }
        const std::string_view value = line.substr(kKey.size());
        const size_t first = value.find(':');
        const size_t second = first == std::string_view::npos ? first : value.find(':', first + 1);
        if (second == std::string_view::npos) {
            return std::nullopt;
        }
        const auto bus = Hex(value.substr(0, first));
        const auto vendor = Hex(value.substr(first + 1, second - first - 1));
        const auto product = Hex(value.substr(second + 1));
        if (!bus || !vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF) {
            return std::nullopt;
        }
        return HidAttributes{static_cast<uint16_t>(*vendor), static_cast<uint16_t>(*product)};
    }
    return std::nullopt;
}

std::optional<HidrawIdentity> ReadHidrawIdentity(const std::filesystem::path& syspath) {
    const auto uevent = ReadFile(syspath / "device" / "uevent", kMaxUevent);
    if (!uevent) {
        return std::nullopt;
    }
    const auto attributes =
        ParseHidId(std::string_view(reinterpret_cast<const char*>(uevent->data()), uevent->size()));
    auto descriptor = ReadFile(syspath / "device" / "report_descriptor", kMaxDescriptor);
    if (!attributes || !descriptor || descriptor->empty()) {
        return std::nullopt;
    }
    return HidrawIdentity{*attributes, std::move(*descriptor)};
}

} // namespace xk
