#include "platform/HidrawTransport.h"

#include "device/ReportDescriptor.h"
#include "platform/HidrawIdentity.h"
#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <string_view>
#include <system_error>

namespace xk {

namespace {

// Opens for identification: any access that the node allows.
int OpenForIdentification(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        return fd;
    }
    return ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
}

// The nodes whose open handles found their device gone, until the interface thread reads
// them; the event descriptor is readable while any wait.
struct LostNodes {
    std::mutex mutex;
    std::vector<std::string> paths;
    UniqueFd event{::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)};

    void Report(const std::string& path) {
        {
            const std::lock_guard lock(mutex);
            paths.push_back(path);
        }
        const uint64_t one = 1;
        (void)!::write(event.get(), &one, sizeof one);
    }

    std::vector<std::string> Take() {
        uint64_t count = 0;
        (void)!::read(event.get(), &count, sizeof count);
        const std::lock_guard lock(mutex);
        return std::exchange(paths, {});
    }
};

class HidrawDevice final : public HidDevice {
public:
    HidrawDevice(UniqueFd fd, UniqueFd wake, std::string path, std::shared_ptr<LostNodes> lost)
        : fd_(std::move(fd)), wake_(std::move(wake)), path_(std::move(path)),
          lost_(std::move(lost)) {}

    std::optional<HidAttributes> Attributes() override {
        hidraw_devinfo info{};
        if (::ioctl(fd_.get(), HIDIOCGRAWINFO, &info) != 0) {
            return std::nullopt;
        }
        return HidAttributes{static_cast<uint16_t>(info.vendor),
                             static_cast<uint16_t>(info.product)};
    }

    std::vector<HidCaps> Capabilities() override {
        // HIDIOCGRDESC takes at most HID_MAX_DESCRIPTOR_SIZE - 1 bytes.
        int size = 0;
        if (::ioctl(fd_.get(), HIDIOCGRDESCSIZE, &size) != 0 || size < 0 ||
            size >= HID_MAX_DESCRIPTOR_SIZE) {
            return {};
        }
        hidraw_report_descriptor descriptor{};
        descriptor.size = static_cast<uint32_t>(size);
        if (::ioctl(fd_.get(), HIDIOCGRDESC, &descriptor) != 0) {
            return {};
        }
        return ParseReportDescriptor(std::span(descriptor.value, descriptor.size));
    }

    bool SetFeature(std::span<const uint8_t> report) override {
        if (report.empty() || report.size() > kMaxReport) {
            return false;
        }
        std::array<uint8_t, kMaxReport> buffer{};
        std::copy(report.begin(), report.end(), buffer.begin());
        return ::ioctl(fd_.get(), HIDIOCSFEATURE(report.size()), buffer.data()) >= 0;
    }

    std::optional<size_t> ReadReport(std::span<uint8_t> buffer) override {
        while (true) {
            pollfd fds[2] = {{fd_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}};
            const int ready = ::poll(fds, 2, -1);
            if (ready < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return std::nullopt;
            }
            if ((fds[1].revents & POLLIN) != 0) {
                return std::nullopt;
            }
            if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0 &&
                (fds[0].revents & POLLIN) == 0) {
                // Hang-up without data: the device is gone.
                ReportLost();
                return std::nullopt;
            }
            const ssize_t got = ::read(fd_.get(), buffer.data(), buffer.size());
            if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
                continue;
            }
            if (got < 0 && (errno == ENODEV || errno == EIO)) {
                ReportLost();
            }
            if (got <= 0) {
                return std::nullopt;
            }
            return static_cast<size_t>(got);
        }
    }

    void Interrupt() override {
        const uint64_t one = 1;
        (void)!::write(wake_.get(), &one, sizeof one);
    }

private:
    void ReportLost() {
        if (!lostReported_ && lost_) {
            lostReported_ = true;
            lost_->Report(path_);
        }
    }

    static constexpr size_t kMaxReport = 4096;
    UniqueFd fd_;
    UniqueFd wake_;
    std::string path_;
    std::shared_ptr<LostNodes> lost_;
    bool lostReported_ = false; // reading thread only
};

// A node identified from sysfs, without opening it.
class SysfsIdentification final : public HidDevice {
public:
    explicit SysfsIdentification(HidrawIdentity identity) : identity_(std::move(identity)) {}
    std::optional<HidAttributes> Attributes() override { return identity_.attributes; }
    std::vector<HidCaps> Capabilities() override {
        return ParseReportDescriptor(identity_.descriptor);
    }
    bool SetFeature(std::span<const uint8_t>) override { return false; }
    std::optional<size_t> ReadReport(std::span<uint8_t>) override { return std::nullopt; }
    void Interrupt() override {}

private:
    HidrawIdentity identity_;
};

class HidrawInterfaceList final : public HidInterfaceList {
public:
    explicit HidrawInterfaceList(std::vector<std::string> paths) : paths_(std::move(paths)) {}
    std::optional<std::string> PathAt(int index) override {
        if (index < 0 || static_cast<size_t>(index) >= paths_.size() ||
            paths_[static_cast<size_t>(index)].empty()) {
            return std::nullopt;
        }
        return paths_[static_cast<size_t>(index)];
    }

private:
    std::vector<std::string> paths_;
};

} // namespace

struct HidrawTransport::Impl {
    udev* context = ::udev_new();
    udev_monitor* monitor = nullptr;
    UniqueFd epoll{::epoll_create1(EPOLL_CLOEXEC)};
    std::shared_ptr<LostNodes> lost = std::make_shared<LostNodes>();
    // The sysfs folder of each node of the last scan, to identify it without opening it.
    std::map<std::string, std::string> syspathOf;

    Impl() {
        if (epoll.valid() && lost->event.valid()) {
            epoll_event event{};
            event.events = EPOLLIN;
            (void)::epoll_ctl(epoll.get(), EPOLL_CTL_ADD, lost->event.get(), &event);
        }
    }
    ~Impl() {
        if (monitor != nullptr) {
            ::udev_monitor_unref(monitor);
        }
        if (context != nullptr) {
            ::udev_unref(context);
        }
    }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
};

HidrawTransport::HidrawTransport() : impl_(std::make_unique<Impl>()) {}

HidrawTransport::~HidrawTransport() = default;

std::unique_ptr<HidInterfaceList> HidrawTransport::ListInterfaces() {
    std::vector<std::string> paths;
    impl_->syspathOf.clear();
    if (impl_->context == nullptr) {
        return std::make_unique<HidrawInterfaceList>(paths);
    }
    udev_enumerate* enumerate = ::udev_enumerate_new(impl_->context);
    if (enumerate == nullptr) {
        return std::make_unique<HidrawInterfaceList>(paths);
    }
    ::udev_enumerate_add_match_subsystem(enumerate, "hidraw");
    ::udev_enumerate_scan_devices(enumerate);
    udev_list_entry* entry = ::udev_enumerate_get_list_entry(enumerate);
    for (; entry != nullptr; entry = ::udev_list_entry_get_next(entry)) {
        // An entry whose node cannot be had keeps its index and fails there.
        std::string path;
        const char* syspath = ::udev_list_entry_get_name(entry);
        udev_device* device = ::udev_device_new_from_syspath(impl_->context, syspath);
        if (device != nullptr) {
            if (const char* node = ::udev_device_get_devnode(device); node != nullptr) {
                path = node;
                impl_->syspathOf[path] = syspath;
            }
            ::udev_device_unref(device);
        }
        paths.push_back(std::move(path));
    }
    ::udev_enumerate_unref(enumerate);
    return std::make_unique<HidrawInterfaceList>(std::move(paths));
}

std::unique_ptr<HidDevice> HidrawTransport::Open(const std::string& path, HidAccess access) {
    int fd = -1;
    switch (access) {
    case HidAccess::Identify:
        // sysfs tells what the node is: opening every node of the machine would wake each
        // device (a USB resume) for nothing.
        if (const auto found = impl_->syspathOf.find(path); found != impl_->syspathOf.end()) {
            if (auto identity = ReadHidrawIdentity(found->second)) {
                // Only a node this user may open counts, as when it is opened to identify it.
                if (::access(path.c_str(), R_OK) != 0 && ::access(path.c_str(), W_OK) != 0) {
                    return nullptr;
                }
                return std::make_unique<SysfsIdentification>(std::move(*identity));
            }
        }
        fd = OpenForIdentification(path);
        break;
    case HidAccess::Read:
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        break;
    case HidAccess::Write:
        fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        break;
    }
    UniqueFd device(fd);
    UniqueFd wake(::eventfd(0, EFD_CLOEXEC));
    if (!device.valid() || !wake.valid()) {
        return nullptr;
    }
    return std::make_unique<HidrawDevice>(std::move(device), std::move(wake), path,
                                          access == HidAccess::Read ? impl_->lost : nullptr);
}

void HidrawTransport::RegisterNotifications() {
    if (impl_->monitor != nullptr || impl_->context == nullptr || !impl_->epoll.valid()) {
        return;
    }
    // Events processed by the udev daemon carry finished device nodes; without a daemon only
    // the kernel's own events are there.
    std::error_code error;
    const char* source = std::filesystem::exists("/run/udev/control", error) ? "udev" : "kernel";
    udev_monitor* monitor = ::udev_monitor_new_from_netlink(impl_->context, source);
    if (monitor == nullptr) {
        return;
    }
    ::udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr);
    epoll_event event{};
    event.events = EPOLLIN;
    if (::udev_monitor_enable_receiving(monitor) < 0 ||
        ::epoll_ctl(impl_->epoll.get(), EPOLL_CTL_ADD, ::udev_monitor_get_fd(monitor), &event) !=
            0) {
        ::udev_monitor_unref(monitor);
        return;
    }
    impl_->monitor = monitor;
}

int HidrawTransport::NotificationFd() const {
    return impl_->epoll.get();
}

std::vector<DeviceChange> HidrawTransport::ReadNotifications() {
    std::vector<DeviceChange> changes;
    for (std::string& path : impl_->lost->Take()) {
        changes.push_back({DeviceChange::Kind::Lost, std::move(path)});
    }
    if (impl_->monitor == nullptr) {
        return changes;
    }
    while (udev_device* device = ::udev_monitor_receive_device(impl_->monitor)) {
        const char* action = ::udev_device_get_action(device);
        const char* node = ::udev_device_get_devnode(device);
        if (action != nullptr && node != nullptr) {
            const std::string_view what = action;
            if (what == "add") {
                changes.push_back({DeviceChange::Kind::Arrival, node});
            } else if (what == "remove") {
                changes.push_back({DeviceChange::Kind::Removal, node});
            }
        }
        ::udev_device_unref(device);
    }
    return changes;
}

} // namespace xk
