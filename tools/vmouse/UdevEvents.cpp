#include "UdevEvents.h"

#include <arpa/inet.h>
#include <linux/netlink.h>
#include <sys/socket.h>
#include <sys/uio.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace xk {

namespace {

constexpr uint32_t kUdevGroup = 2;
constexpr uint32_t kMonitorMagic = 0xFEEDCAFE;

// libudev's message header; the numbers that its listeners' socket filters read are in
// network order.
struct MonitorHeader {
    char prefix[8];
    uint32_t magic;
    uint32_t headerSize;
    uint32_t propertiesOffset;
    uint32_t propertiesLength;
    uint32_t subsystemHash;
    uint32_t devtypeHash;
    uint32_t tagBloomHigh;
    uint32_t tagBloomLow;
};

// MurmurHash2 with seed 0, as libudev hashes the subsystem for its socket filters.
uint32_t StringHash(const std::string& text) {
    constexpr uint32_t m = 0x5BD1E995;
    auto length = static_cast<uint32_t>(text.size());
    uint32_t h = length;
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    while (length >= 4) {
        uint32_t k = 0;
        std::memcpy(&k, data, 4);
        k *= m;
        k ^= k >> 24;
        k *= m;
        h *= m;
        h ^= k;
        data += 4;
        length -= 4;
    }
    switch (length) {
    case 3:
        h ^= static_cast<uint32_t>(data[2]) << 16;
        [[fallthrough]];
    case 2:
        h ^= static_cast<uint32_t>(data[1]) << 8;
        [[fallthrough]];
    case 1:
        h ^= data[0];
        h *= m;
        break;
    default:
        break;
    }
    h ^= h >> 13;
    h *= m;
    h ^= h >> 15;
    return h;
}

} // namespace

UdevEvents::UdevEvents()
    : socket_(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_KOBJECT_UEVENT)) {
    sockaddr_nl self{};
    self.nl_family = AF_NETLINK;
    if (socket_.valid() &&
        ::bind(socket_.get(), reinterpret_cast<const sockaddr*>(&self), sizeof self) != 0) {
        socket_.Reset();
    }
}

bool UdevEvents::Send(const std::string& action, const std::string& subsystem,
                      const std::vector<std::string>& properties) {
    std::string text;
    const auto add = [&text](const std::string& line) {
        text += line;
        text += '\0';
    };
    add("ACTION=" + action);
    add("SUBSYSTEM=" + subsystem);
    for (const std::string& property : properties) {
        add(property);
    }
    add("SEQNUM=" + std::to_string(++seqnum_));

    MonitorHeader header{};
    std::memcpy(header.prefix, "libudev", 8);
    header.magic = htonl(kMonitorMagic);
    header.headerSize = sizeof header;
    header.propertiesOffset = sizeof header;
    header.propertiesLength = static_cast<uint32_t>(text.size());
    header.subsystemHash = htonl(StringHash(subsystem));

    iovec parts[2] = {{&header, sizeof header}, {text.data(), text.size()}};
    sockaddr_nl group{};
    group.nl_family = AF_NETLINK;
    group.nl_groups = kUdevGroup;
    msghdr message{};
    message.msg_name = &group;
    message.msg_namelen = sizeof group;
    message.msg_iov = parts;
    message.msg_iovlen = 2;
    // No listener yet is no failure.
    return ::sendmsg(socket_.get(), &message, 0) >= 0 || errno == ECONNREFUSED;
}

} // namespace xk
