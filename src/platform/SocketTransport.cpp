#include "platform/SocketTransport.h"

#include "device/ReportDescriptor.h"
#include "platform/UnixSocket.h"
#include "platform/VirtualMouseProtocol.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace xk {

namespace {

const char* AccessWord(HidAccess access) {
    switch (access) {
    case HidAccess::Identify:
        return "identify";
    case HidAccess::Read:
        return "read";
    case HidAccess::Write:
        return "write";
    }
    return "identify";
}

class SocketInterfaceList final : public HidInterfaceList {
public:
    SocketInterfaceList(std::string socketPath, int count)
        : socketPath_(std::move(socketPath)), count_(count) {}
    std::optional<std::string> PathAt(int index) override {
        if (index < 0 || index >= count_) {
            return std::nullopt;
        }
        return vmouse::InterfacePath(socketPath_, index);
    }

private:
    std::string socketPath_;
    int count_;
};

// How long the interface thread waits for the virtual mouse to answer.
constexpr auto kReplyTimeout = std::chrono::milliseconds(500);
// How long a feature report waits for its answer: as long as the kernel waits for a USB mouse
// to take one. Its sender may give up on it sooner.
constexpr auto kFeatureAnswerTimeout = std::chrono::seconds(5);

Deadline ReplyDeadline() {
    return std::chrono::steady_clock::now() + kReplyTimeout;
}

class SocketDevice final : public HidDevice {
public:
    SocketDevice(UniqueFd fd, LineReader reader, UniqueFd wake, HidAttributes attributes,
                 std::vector<uint8_t> descriptor)
        : fd_(std::move(fd)), wake_(std::move(wake)), reader_(std::move(reader)),
          attributes_(attributes), descriptor_(std::move(descriptor)) {}

    std::optional<HidAttributes> Attributes() override { return attributes_; }
    std::vector<HidCaps> Capabilities() override { return ParseReportDescriptor(descriptor_); }

    // Each report is answered "ok" or "error ...", in order. A send waits for the answers still
    // owed, then for its own, up to kFeatureAnswerTimeout or Interrupt(); false when none came.
    bool SetFeature(std::span<const uint8_t> report) override {
        if (broken_) {
            return false;
        }
        const Deadline deadline = std::chrono::steady_clock::now() + kFeatureAnswerTimeout;
        if (!SendAllBefore(fd_.get(), "feature " + vmouse::HexBytes(report) + "\n", deadline)) {
            broken_ = true; // part of a line may have gone: nothing more makes sense
            return false;
        }
        ++unanswered_;
        std::optional<std::string> reply;
        while (unanswered_ > 0) {
            reply = reader_.ReadLineBefore(deadline, wake_.get());
            if (!reply) {
                return false;
            }
            --unanswered_;
        }
        return *reply == "ok";
    }

    std::optional<size_t> ReadReport(std::span<uint8_t> buffer) override {
        while (true) {
            const std::optional<std::string> line = reader_.ReadLine(wake_.get());
            if (!line) {
                return std::nullopt;
            }
            const auto bytes = vmouse::ParseInputLine(*line);
            if (!bytes) {
                continue;
            }
            const size_t length = std::min(bytes->size(), buffer.size());
            std::copy_n(bytes->begin(), length, buffer.begin());
            return length;
        }
    }
    void Interrupt() override {
        const uint64_t one = 1;
        (void)!::write(wake_.get(), &one, sizeof one);
    }

private:
    UniqueFd fd_;
    UniqueFd wake_;
    LineReader reader_;
    HidAttributes attributes_;
    std::vector<uint8_t> descriptor_;
    int unanswered_ = 0; // reports sent whose answers have not come yet
    bool broken_ = false;
};

} // namespace

struct SocketTransport::Impl {
    std::string socketPath;
    int interfaceCount = 0;
    UniqueFd epoll{::epoll_create1(EPOLL_CLOEXEC)};
    UniqueFd watch;
    bool removed = false;
};

SocketTransport::SocketTransport(std::string socketPath) : impl_(std::make_unique<Impl>()) {
    impl_->socketPath = std::move(socketPath);
}

SocketTransport::~SocketTransport() = default;

std::unique_ptr<HidInterfaceList> SocketTransport::ListInterfaces() {
    int count = 0;
    const UniqueFd fd = ConnectUnixSocket(impl_->socketPath);
    const Deadline deadline = ReplyDeadline();
    if (fd.valid() && SendAllBefore(fd.get(), "list\n", deadline)) {
        LineReader reader(fd.get());
        const auto line = reader.ReadLineBefore(deadline);
        const auto words = line ? vmouse::Words(*line) : std::vector<std::string_view>{};
        if (words.size() == 2 && words[0] == "interfaces") {
            count = vmouse::ParseNumber(words[1], 0, 255).value_or(0);
        }
    }
    impl_->interfaceCount = std::max(impl_->interfaceCount, count);
    return std::make_unique<SocketInterfaceList>(impl_->socketPath, count);
}

std::unique_ptr<HidDevice> SocketTransport::Open(const std::string& path, HidAccess access) {
    const auto index = vmouse::InterfaceIndexOf(impl_->socketPath, path);
    if (!index) {
        return nullptr;
    }
    UniqueFd fd = ConnectUnixSocket(impl_->socketPath);
    const Deadline deadline = ReplyDeadline();
    if (!fd.valid() ||
        !SendAllBefore(fd.get(), "open " + std::to_string(*index) + " " + AccessWord(access) + "\n",
                       deadline)) {
        return nullptr;
    }
    // The reader keeps whatever follows the answer (input lines) for the device.
    LineReader reader(fd.get());
    const std::optional<std::string> reply = reader.ReadLineBefore(deadline);
    if (!reply) {
        return nullptr;
    }
    auto opened = vmouse::ParseOpenReply(*reply);
    if (!opened) {
        return nullptr;
    }
    UniqueFd wake(::eventfd(0, EFD_CLOEXEC));
    if (!wake.valid()) {
        return nullptr;
    }
    return std::make_unique<SocketDevice>(std::move(fd), std::move(reader), std::move(wake),
                                          opened->attributes, std::move(opened->descriptor));
}

void SocketTransport::RegisterNotifications() {
    if (impl_->watch.valid() || impl_->removed || !impl_->epoll.valid()) {
        return;
    }
    UniqueFd watch = ConnectUnixSocket(impl_->socketPath);
    if (!watch.valid() || !SendAll(watch.get(), "watch\n")) {
        return;
    }
    epoll_event event{};
    event.events = EPOLLIN | EPOLLRDHUP;
    event.data.fd = watch.get();
    if (::epoll_ctl(impl_->epoll.get(), EPOLL_CTL_ADD, watch.get(), &event) != 0) {
        return;
    }
    impl_->watch = std::move(watch);
}

int SocketTransport::NotificationFd() const {
    return impl_->epoll.get();
}

std::vector<DeviceChange> SocketTransport::ReadNotifications() {
    std::vector<DeviceChange> changes;
    if (!impl_->watch.valid()) {
        return changes;
    }
    epoll_event event{};
    if (::epoll_wait(impl_->epoll.get(), &event, 1, 0) <= 0) {
        return changes;
    }
    char chunk[256];
    const ssize_t got = ::recv(impl_->watch.get(), chunk, sizeof chunk, MSG_DONTWAIT);
    if (got > 0 || (got < 0 && (errno == EAGAIN || errno == EINTR))) {
        return changes; // the server says nothing on this connection; ignore it
    }
    // The socket closed: the mouse is gone.
    ::epoll_ctl(impl_->epoll.get(), EPOLL_CTL_DEL, impl_->watch.get(), nullptr);
    impl_->watch.Reset();
    impl_->removed = true;
    for (int i = 0; i < std::max(impl_->interfaceCount, 1); ++i) {
        changes.push_back(
            {DeviceChange::Kind::Removal, vmouse::InterfacePath(impl_->socketPath, i)});
    }
    return changes;
}

} // namespace xk
