#include "device/VirtualMouseTransport.h"

#include "device/ReportDescriptor.h"

#include <algorithm>
#include <list>

namespace xk {

namespace {

constexpr const char* kPathPrefix = "virtual-mouse/hid";

std::optional<int> IndexOfPath(const std::string& path, int interfaceCount) {
    const std::string prefix = kPathPrefix;
    if (path.size() != prefix.size() + 1 || path.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    const int index = path.back() - '0';
    if (index < 0 || index >= interfaceCount) {
        return std::nullopt;
    }
    return index;
}

} // namespace

struct VirtualMouseTransport::Shared {
    explicit Shared(VirtualMouse::Nodes nodes)
        : start(std::chrono::steady_clock::now()), mouse([this] { return Micros(); }, nodes) {}

    int64_t Micros() const {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now() - start)
            .count();
    }

    std::chrono::steady_clock::time_point start;
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    VirtualMouse mouse;
    bool unplugged = false;
    bool removalReported = false;
    std::list<Device*> readers;
    int blockedReaders = 0;

    // With the mutex held.
    void Deliver(const std::vector<uint8_t>& report);
};

class VirtualMouseTransport::Device final : public HidDevice {
public:
    Device(std::shared_ptr<Shared> shared, int index, HidAccess access)
        : shared_(std::move(shared)), index_(index), access_(access) {
        if (access_ == HidAccess::Read) {
            const std::lock_guard lock(shared_->mutex);
            shared_->readers.push_back(this);
        }
    }
    ~Device() override {
        const std::lock_guard lock(shared_->mutex);
        shared_->readers.remove(this);
    }

    std::optional<HidAttributes> Attributes() override {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->unplugged) {
            return std::nullopt;
        }
        return VirtualMouse::Attributes();
    }
    std::vector<HidCaps> Capabilities() override {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->unplugged) {
            return {};
        }
        return ParseReportDescriptor(shared_->mouse.Descriptor(index_));
    }
    bool SetFeature(std::span<const uint8_t> report) override {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->unplugged || access_ != HidAccess::Write) {
            return false;
        }
        const bool taken = shared_->mouse.ReceiveFeature(index_, report);
        shared_->changed.notify_all();
        return taken;
    }
    std::optional<size_t> ReadReport(std::span<uint8_t> buffer) override {
        std::unique_lock lock(shared_->mutex);
        ++shared_->blockedReaders;
        shared_->changed.notify_all();
        shared_->changed.wait(
            lock, [this] { return interrupted_ || shared_->unplugged || !queue_.empty(); });
        --shared_->blockedReaders;
        if (interrupted_ || shared_->unplugged) {
            return std::nullopt;
        }
        const std::vector<uint8_t> report = std::move(queue_.front());
        queue_.pop_front();
        const size_t length = std::min(report.size(), buffer.size());
        std::copy_n(report.begin(), length, buffer.begin());
        return length;
    }
    void Interrupt() override {
        const std::lock_guard lock(shared_->mutex);
        interrupted_ = true;
        shared_->changed.notify_all();
    }

    // With the shared mutex held.
    void Queue(const std::vector<uint8_t>& report) {
        if (shared_->mouse.SendsInput(index_)) {
            queue_.push_back(report);
        }
    }

private:
    std::shared_ptr<Shared> shared_;
    int index_;
    HidAccess access_;
    bool interrupted_ = false;
    std::deque<std::vector<uint8_t>> queue_;
};

void VirtualMouseTransport::Shared::Deliver(const std::vector<uint8_t>& report) {
    for (Device* reader : readers) {
        reader->Queue(report);
    }
    changed.notify_all();
}

namespace {

class VirtualInterfaceList final : public HidInterfaceList {
public:
    explicit VirtualInterfaceList(int count) : count_(count) {}
    std::optional<std::string> PathAt(int index) override {
        if (index < 0 || index >= count_) {
            return std::nullopt;
        }
        return VirtualMouseTransport::PathOf(index);
    }

private:
    int count_;
};

} // namespace

VirtualMouseTransport::VirtualMouseTransport(VirtualMouse::Nodes nodes)
    : shared_(std::make_shared<Shared>(nodes)) {}

VirtualMouseTransport::~VirtualMouseTransport() = default;

std::string VirtualMouseTransport::PathOf(int interfaceIndex) {
    return kPathPrefix + std::to_string(interfaceIndex);
}

std::unique_ptr<HidInterfaceList> VirtualMouseTransport::ListInterfaces() {
    const std::lock_guard lock(shared_->mutex);
    return std::make_unique<VirtualInterfaceList>(
        shared_->unplugged ? 0 : shared_->mouse.InterfaceCount());
}

std::unique_ptr<HidDevice> VirtualMouseTransport::Open(const std::string& path, HidAccess access) {
    std::optional<int> index;
    {
        const std::lock_guard lock(shared_->mutex);
        index = IndexOfPath(path, shared_->mouse.InterfaceCount());
        if (!index || shared_->unplugged) {
            return nullptr;
        }
    }
    return std::make_unique<Device>(shared_, *index, access);
}

std::vector<DeviceChange> VirtualMouseTransport::ReadNotifications() {
    const std::lock_guard lock(shared_->mutex);
    std::vector<DeviceChange> changes;
    if (shared_->unplugged && !shared_->removalReported) {
        shared_->removalReported = true;
        for (int i = 0; i < shared_->mouse.InterfaceCount(); ++i) {
            changes.push_back({DeviceChange::Kind::Removal, PathOf(i)});
        }
    }
    return changes;
}

void VirtualMouseTransport::Press(int button) {
    const std::lock_guard lock(shared_->mutex);
    shared_->Deliver(shared_->mouse.Press(button));
}

void VirtualMouseTransport::Release(int button) {
    const std::lock_guard lock(shared_->mutex);
    shared_->Deliver(shared_->mouse.Release(button));
}

bool VirtualMouseTransport::SwitchDpi(uint8_t level) {
    const std::lock_guard lock(shared_->mutex);
    const auto report = shared_->mouse.SwitchDpi(level);
    if (report) {
        shared_->Deliver(*report);
    }
    return report.has_value();
}

bool VirtualMouseTransport::StepReportRate() {
    const std::lock_guard lock(shared_->mutex);
    const auto report = shared_->mouse.StepReportRate();
    if (report) {
        shared_->Deliver(*report);
    }
    return report.has_value();
}

void VirtualMouseTransport::Unplug() {
    const std::lock_guard lock(shared_->mutex);
    shared_->unplugged = true;
    shared_->changed.notify_all();
}

VirtualMouse::State VirtualMouseTransport::State() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->mouse.state();
}

std::vector<VirtualMouse::LogEntry> VirtualMouseTransport::Log() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->mouse.log();
}

std::vector<std::vector<uint8_t>> VirtualMouseTransport::Features() const {
    const std::lock_guard lock(shared_->mutex);
    std::vector<std::vector<uint8_t>> features;
    for (const auto& entry : shared_->mouse.log()) {
        if (entry.feature) {
            features.push_back(entry.bytes);
        }
    }
    return features;
}

bool VirtualMouseTransport::WaitForFeatures(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(
        lock, timeout, [&] { return shared_->mouse.state().featureReports >= count; });
}

bool VirtualMouseTransport::WaitForReader(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(lock, timeout, [&] { return shared_->blockedReaders > 0; });
}

} // namespace xk
