#include "device/MouseConnection.h"

#include "device/MouseProtocol.h"

#include <algorithm>
#include <array>
#include <utility>

namespace xk {

namespace {

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SamePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldCase(x) == FoldCase(y);
           });
}

bool IsMouse(const HidAttributes& attributes) {
    return attributes.vendorId == kMouseVendorId && attributes.productId == kMouseProductId;
}

} // namespace

MouseConnection::MouseConnection(HidTransport& transport) : transport_(transport) {}

MouseConnection::~MouseConnection() = default;

bool MouseConnection::FindMouse() {
    const std::unique_ptr<HidInterfaceList> list = transport_.ListInterfaces();
    if (!list) {
        return connected_.load();
    }
    // A handle keeps its value until this scan opens its interface again; the scan stops once
    // it has opened both, so a scan after a removal does not stop on the old handles.
    bool readOpened = false;
    bool writeOpened = false;
    for (int index = 0; index < kScanIndexCount; ++index) {
        const std::optional<std::string> path = list->PathAt(index);
        if (!path) {
            continue;
        }
        std::unique_ptr<HidDevice> identification = transport_.Open(*path, HidAccess::Identify);
        const std::optional<HidAttributes> attributes =
            identification ? identification->Attributes() : std::nullopt;
        connected_.store(false);
        if (!attributes || !IsMouse(*attributes)) {
            continue;
        }
        connected_.store(true);
        devicePath_ = *path;
        transport_.RegisterNotifications();
        // A node may hold several top-level collections, both vendor ones among them: it is
        // then the read and the write interface at once.
        const std::vector<HidCaps> collections = identification->Capabilities();
        const auto holding = [&](uint16_t usagePage) -> const HidCaps* {
            for (const HidCaps& caps : collections) {
                if (caps.usagePage == usagePage && caps.usage == kVendorUsage) {
                    return &caps;
                }
            }
            return nullptr;
        };
        if (const HidCaps* caps = holding(kInputUsagePage)) {
            std::shared_ptr<HidDevice> device = transport_.Open(*path, HidAccess::Read);
            std::shared_ptr<HidDevice> replaced;
            {
                const std::lock_guard lock(mutex_);
                replaced = std::exchange(read_.device, std::move(device));
                read_.set = true;
                read_.caps = *caps;
                read_.path = *path;
                ++readGeneration_;
            }
            // A listener blocked on the replaced handle moves on to the new one.
            if (replaced) {
                replaced->Interrupt();
            }
            readHandleChanged_.notify_all();
            readOpened = true;
        }
        if (const HidCaps* caps = holding(kFeatureUsagePage)) {
            std::shared_ptr<HidDevice> device = transport_.Open(*path, HidAccess::Write);
            const std::lock_guard lock(mutex_);
            write_ = Handle{true, std::move(device), *caps, *path};
            writeOpened = true;
        }
        identification.reset();
        if (readOpened && writeOpened) {
            break;
        }
    }
    return connected_.load();
}

std::string MouseConnection::DevicePath() const {
    return devicePath_;
}

void MouseConnection::SetRemovalHandler(std::function<void()> onRemoval) {
    onRemoval_ = std::move(onRemoval);
}

void MouseConnection::HandleDeviceChange(const DeviceChange& change) {
    if (change.kind == DeviceChange::Kind::Lost) {
        // The listener's interface went away without a removal of the stored path (the
        // other interface may stay, as after a driver rebind): the mouse is gone for us.
        std::string readPath;
        {
            const std::lock_guard lock(mutex_);
            readPath = read_.path;
        }
        if (readPath.empty() || !SamePath(change.path, readPath) || !connected_.load()) {
            return;
        }
    } else if (devicePath_.empty() || !SamePath(change.path, devicePath_)) {
        return;
    }
    if (change.kind == DeviceChange::Kind::Arrival) {
        if (!connected_.load()) {
            connected_.store(FindMouse());
        }
        return;
    }
    connected_.store(false);
    if (onRemoval_) {
        onRemoval_();
    }
}

void MouseConnection::ProcessDeviceChanges() {
    for (const DeviceChange& change : transport_.ReadNotifications()) {
        HandleDeviceChange(change);
    }
}

int MouseConnection::NotificationFd() const {
    return transport_.NotificationFd();
}

void MouseConnection::SetSenderStartHook(std::function<void()> hook) {
    sender_.SetThreadStartHook(std::move(hook));
}

SendOutcome MouseConnection::SendFeatureReport(std::span<const uint8_t, kReportBufferSize> buffer,
                                               SendBudget& budget) {
    std::shared_ptr<HidDevice> device;
    size_t length = 0;
    size_t own = 0;
    {
        const std::lock_guard lock(mutex_);
        device = write_.device;
        // Every report goes out at the collection's feature report length, the longest it
        // declares, zero-padded after the report's own bytes: the length the mouse's firmware
        // has always been sent.
        length = std::min<size_t>(write_.caps.featureReportLength, kReportBufferSize);
        own = write_.caps.FeatureLengthOf(buffer[0]);
    }
    if (!device || length == 0) {
        return SendOutcome::Refused;
    }
    std::array<uint8_t, kReportBufferSize> report{};
    std::copy_n(buffer.begin(), own == 0 ? length : std::min(own, length), report.begin());
    return sender_.Send(std::move(device), std::span(report).first(length), budget);
}

MouseConnection::ReadHandle MouseConnection::WaitForReadHandle(const std::atomic<bool>& stop) {
    std::unique_lock lock(mutex_);
    readHandleChanged_.wait(lock, [&] { return stop.load() || read_.device; });
    if (stop.load()) {
        return {};
    }
    size_t length = read_.caps.inputReportLength;
    if (length == 0 || length > kReportBufferSize) {
        length = kReportBufferSize;
    }
    return {read_.device, readGeneration_, length};
}

void MouseConnection::PauseAfterFailedRead(uint64_t generation,
                                           std::chrono::steady_clock::duration pause,
                                           const std::atomic<bool>& stop) {
    std::unique_lock lock(mutex_);
    readHandleChanged_.wait_for(lock, pause,
                                [&] { return stop.load() || readGeneration_ != generation; });
}

void MouseConnection::WakeReadWaiters() {
    { const std::lock_guard lock(mutex_); }
    readHandleChanged_.notify_all();
}

void MouseConnection::CloseHandles() {
    std::shared_ptr<HidDevice> read;
    std::shared_ptr<HidDevice> write;
    {
        const std::lock_guard lock(mutex_);
        read = std::exchange(read_.device, nullptr);
        write = std::exchange(write_.device, nullptr);
        ++readGeneration_;
    }
    if (read) {
        read->Interrupt();
    }
    if (write) {
        write->Interrupt(); // a send the mouse never answered
    }
    readHandleChanged_.notify_all();
}

HidCaps MouseConnection::ReadCaps() const {
    const std::lock_guard lock(mutex_);
    return read_.caps;
}

HidCaps MouseConnection::WriteCaps() const {
    const std::lock_guard lock(mutex_);
    return write_.caps;
}

bool MouseConnection::ReadHandleSet() const {
    const std::lock_guard lock(mutex_);
    return read_.set;
}

bool MouseConnection::WriteHandleSet() const {
    const std::lock_guard lock(mutex_);
    return write_.set;
}

bool MouseConnection::ReadHandleOpen() const {
    const std::lock_guard lock(mutex_);
    return read_.device != nullptr;
}

bool MouseConnection::WriteHandleOpen() const {
    const std::lock_guard lock(mutex_);
    return write_.device != nullptr;
}

} // namespace xk
