#include "device/ReportDescriptor.h"

#include <algorithm>
#include <map>
#include <vector>

namespace xk {

namespace {

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };

// Main item tags.
constexpr uint8_t kInput = 0x8;
constexpr uint8_t kFeature = 0xB;
constexpr uint8_t kCollection = 0xA;
constexpr uint8_t kEndCollection = 0xC;
// Global item tags.
constexpr uint8_t kUsagePage = 0x0;
constexpr uint8_t kReportSize = 0x7;
constexpr uint8_t kReportId = 0x8;
constexpr uint8_t kReportCount = 0x9;
constexpr uint8_t kPush = 0xA;
constexpr uint8_t kPop = 0xB;
// Local item tags.
constexpr uint8_t kUsage = 0x0;

constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr size_t kMaxPushDepth = 32;
constexpr size_t kMaxCollectionDepth = 64;
constexpr size_t kMaxTopLevelCollections = 64;
// A report with its id byte fits the 16-bit report lengths.
constexpr uint64_t kMaxReportBits = 8 * 0xFFFEull;

struct GlobalState {
    uint32_t usagePage = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint32_t reportId = 0;
};

struct ReportBits {
    uint64_t input = 0;
    uint64_t feature = 0;
};

uint32_t Unsigned(std::span<const uint8_t> data) {
    uint32_t value = 0;
    for (size_t i = 0; i < data.size(); ++i) {
        value |= static_cast<uint32_t>(data[i]) << (8 * i);
    }
    return value;
}

uint16_t ByteLength(uint64_t maxBits) {
    if (maxBits == 0) {
        return 0;
    }
    return static_cast<uint16_t>((maxBits + 7) / 8 + 1);
}

} // namespace

std::vector<HidCaps> ParseReportDescriptor(std::span<const uint8_t> descriptor) {
    GlobalState global;
    std::vector<GlobalState> stack;
    bool haveUsage = false;
    uint32_t firstUsage = 0;
    size_t depth = 0;
    std::vector<HidCaps> collections;
    // Report bits by collection, then by report id. Main items outside every collection count
    // for the collection before them.
    std::vector<std::map<uint32_t, ReportBits>> reports;

    size_t pos = 0;
    while (pos < descriptor.size()) {
        const uint8_t prefix = descriptor[pos];
        if (prefix == kLongItemPrefix) {
            if (pos + 3 > descriptor.size()) {
                return {};
            }
            const size_t length = descriptor[pos + 1];
            if (descriptor.size() - pos - 3 < length) {
                return {};
            }
            pos += 3 + length; // long items carry nothing the capabilities need
            continue;
        }
        const size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        const auto type = static_cast<uint8_t>((prefix >> 2) & 3);
        const auto tag = static_cast<uint8_t>(prefix >> 4);
        if (descriptor.size() - pos - 1 < size) {
            return {};
        }
        const std::span<const uint8_t> data = descriptor.subspan(pos + 1, size);
        const uint32_t value = Unsigned(data);
        pos += 1 + size;

        switch (type) {
        case kMain:
            if (tag == kCollection) {
                if (depth == 0) {
                    if (collections.size() >= kMaxTopLevelCollections) {
                        return {};
                    }
                    const uint32_t usage = haveUsage ? firstUsage : 0;
                    // A four-byte usage names its page in its high half.
                    const bool extended = usage > 0xFFFF;
                    HidCaps& caps = collections.emplace_back();
                    caps.usagePage =
                        static_cast<uint16_t>(extended ? usage >> 16 : global.usagePage);
                    caps.usage = static_cast<uint16_t>(usage & 0xFFFF);
                    reports.emplace_back();
                }
                if (++depth > kMaxCollectionDepth) {
                    return {};
                }
            } else if (tag == kEndCollection) {
                if (depth == 0) {
                    return {};
                }
                --depth;
            } else if ((tag == kInput || tag == kFeature) && !reports.empty()) {
                const uint64_t bits = uint64_t{global.reportSize} * global.reportCount;
                ReportBits& report = reports.back()[global.reportId];
                uint64_t& total = tag == kInput ? report.input : report.feature;
                total += bits;
                if (total > kMaxReportBits) {
                    return {};
                }
            }
            haveUsage = false; // local items end with every main item
            break;
        case kGlobal:
            switch (tag) {
            case kUsagePage:
                global.usagePage = value;
                break;
            case kReportSize:
                global.reportSize = value;
                break;
            case kReportId:
                if (value > 0xFF) {
                    return {};
                }
                global.reportId = value;
                break;
            case kReportCount:
                global.reportCount = value;
                break;
            case kPush:
                if (stack.size() >= kMaxPushDepth) {
                    return {};
                }
                stack.push_back(global);
                break;
            case kPop:
                if (stack.empty()) {
                    return {};
                }
                global = stack.back();
                stack.pop_back();
                break;
            default:
                break;
            }
            break;
        case kLocal:
            if (tag == kUsage && !haveUsage) {
                haveUsage = true;
                firstUsage = size == 4 ? value : (value & 0xFFFF);
            }
            break;
        default:
            break; // reserved item type
        }
    }
    for (size_t c = 0; c < collections.size(); ++c) {
        HidCaps& caps = collections[c];
        uint64_t maxInput = 0;
        uint64_t maxFeature = 0;
        for (const auto& [id, bits] : reports[c]) {
            maxInput = std::max(maxInput, bits.input);
            maxFeature = std::max(maxFeature, bits.feature);
            caps.reports.push_back(
                {static_cast<uint8_t>(id), ByteLength(bits.input), ByteLength(bits.feature)});
        }
        caps.inputReportLength = ByteLength(maxInput);
        caps.featureReportLength = ByteLength(maxFeature);
    }
    return collections;
}

} // namespace xk
