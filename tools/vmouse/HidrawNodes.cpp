#define FUSE_USE_VERSION 35

#include "HidrawNodes.h"

#include "device/MouseProtocol.h"
#include "platform/VirtualMouseProtocol.h"

#include <fcntl.h>
#include <fuse_lowlevel.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>

namespace xk {

namespace {

constexpr size_t kQueueLength = 64; // reports kept for a file that does not read
constexpr fuse_ino_t kFirstNodeInode = 2;
constexpr HidAttributes kOtherMaker{0x8086, 0x0A42}; // a vendor id above 0x7FFF
constexpr const char* kMountName = ".xk-r40-hidraw";

HidrawNodes& Owner(fuse_req_t req) {
    return *static_cast<HidrawNodes*>(fuse_req_userdata(req));
}

HidrawNodes::Node* NodeOf(fuse_req_t req, fuse_ino_t ino) {
    auto& nodes = Owner(req).nodes();
    if (ino < kFirstNodeInode || ino - kFirstNodeInode >= nodes.size()) {
        return nullptr;
    }
    return &nodes[ino - kFirstNodeInode];
}

std::string HidId(const HidAttributes& attributes) {
    char text[32];
    std::snprintf(text, sizeof text, "0003:%08X:%08X", attributes.vendorId, attributes.productId);
    return text;
}

struct stat AttributesOf(fuse_ino_t ino) {
    struct stat st {};
    st.st_ino = ino;
    if (ino == FUSE_ROOT_ID) {
        st.st_mode = S_IFDIR | 0755;
        st.st_nlink = 2;
    } else {
        st.st_mode = S_IFREG | 0600;
        st.st_nlink = 1;
    }
    return st;
}

} // namespace

struct HidrawNodes::OpenFile {
    size_t node = 0;
    bool nonblocking = false;
    std::deque<std::vector<uint8_t>> queue;
    fuse_pollhandle* poll = nullptr;
    std::deque<std::pair<fuse_req_t, size_t>> reads; // blocked reads: request, size
};

namespace {

HidrawNodes::OpenFile* FileOf(fuse_file_info* fi) {
    return reinterpret_cast<HidrawNodes::OpenFile*>(fi->fh);
}

void Lookup(fuse_req_t req, fuse_ino_t parent, const char* name) {
    auto& nodes = Owner(req).nodes();
    for (size_t i = 0; i < nodes.size() && parent == FUSE_ROOT_ID; ++i) {
        if (!nodes[i].gone && nodes[i].name == name) {
            fuse_entry_param entry{};
            entry.ino = kFirstNodeInode + i;
            entry.attr = AttributesOf(entry.ino);
            fuse_reply_entry(req, &entry);
            return;
        }
    }
    fuse_reply_err(req, ENOENT);
}

void GetAttr(fuse_req_t req, fuse_ino_t ino, fuse_file_info*) {
    if (ino != FUSE_ROOT_ID && NodeOf(req, ino) == nullptr) {
        fuse_reply_err(req, ENOENT);
        return;
    }
    const struct stat st = AttributesOf(ino);
    fuse_reply_attr(req, &st, 0);
}

void ReadDir(fuse_req_t req, fuse_ino_t ino, size_t size, off_t off, fuse_file_info*) {
    if (ino != FUSE_ROOT_ID) {
        fuse_reply_err(req, ENOTDIR);
        return;
    }
    std::vector<char> buffer(size);
    size_t used = 0;
    auto& nodes = Owner(req).nodes();
    for (size_t i = static_cast<size_t>(off); i < nodes.size(); ++i) {
        if (nodes[i].gone) {
            continue;
        }
        const struct stat st = AttributesOf(kFirstNodeInode + i);
        const size_t need =
            fuse_add_direntry(req, buffer.data() + used, size - used, nodes[i].name.c_str(), &st,
                              static_cast<off_t>(i + 1));
        if (need > size - used) {
            break;
        }
        used += need;
    }
    fuse_reply_buf(req, buffer.data(), used);
}

void Access(fuse_req_t req, fuse_ino_t ino, int) {
    const HidrawNodes::Node* node = NodeOf(req, ino);
    fuse_reply_err(req, node != nullptr && node->denied ? EACCES : 0);
}

void Open(fuse_req_t req, fuse_ino_t ino, fuse_file_info* fi) {
    HidrawNodes::Node* node = NodeOf(req, ino);
    if (node == nullptr || node->gone || node->denied) {
        fuse_reply_err(req, node == nullptr ? ENOENT : node->gone ? ENODEV : EACCES);
        return;
    }
    ++node->opens;
    auto& file = Owner(req).files().emplace_back();
    file.node = ino - kFirstNodeInode;
    file.nonblocking = (fi->flags & O_NONBLOCK) != 0;
    fi->fh = reinterpret_cast<uint64_t>(&file);
    fi->direct_io = 1;
    fi->nonseekable = 1;
    fuse_reply_open(req, fi);
}

void Release(fuse_req_t req, fuse_ino_t, fuse_file_info* fi) {
    HidrawNodes::OpenFile* file = FileOf(fi);
    for (const auto& [blocked, size] : file->reads) {
        fuse_reply_err(blocked, EINTR);
    }
    if (file->poll != nullptr) {
        fuse_pollhandle_destroy(file->poll);
    }
    Owner(req).files().remove_if([file](const HidrawNodes::OpenFile& f) { return &f == file; });
    fuse_reply_err(req, 0);
}

void Read(fuse_req_t req, fuse_ino_t, size_t size, off_t, fuse_file_info* fi) {
    HidrawNodes& owner = Owner(req);
    HidrawNodes::OpenFile* file = FileOf(fi);
    if (owner.nodes()[file->node].gone) {
        fuse_reply_err(req, EIO);
        return;
    }
    if (file->queue.empty() && file->nonblocking) {
        fuse_reply_err(req, EAGAIN);
        return;
    }
    file->reads.emplace_back(req, size);
    owner.Deliver(*file);
}

void Poll(fuse_req_t req, fuse_ino_t, fuse_file_info* fi, fuse_pollhandle* ph) {
    HidrawNodes::OpenFile* file = FileOf(fi);
    if (ph != nullptr) {
        if (file->poll != nullptr) {
            fuse_pollhandle_destroy(file->poll);
        }
        file->poll = ph;
    }
    unsigned events = POLLOUT | POLLWRNORM;
    if (!file->queue.empty()) {
        events |= POLLIN | POLLRDNORM;
    }
    if (Owner(req).nodes()[file->node].gone) {
        events |= POLLERR | POLLHUP;
    }
    fuse_reply_poll(req, events);
}

void Ioctl(fuse_req_t req, fuse_ino_t, unsigned int cmd, void*, fuse_file_info* fi, unsigned,
           const void* in, size_t inSize, size_t outSize) {
    HidrawNodes& owner = Owner(req);
    HidrawNodes::Node& node = owner.nodes()[FileOf(fi)->node];
    if (node.gone) {
        fuse_reply_err(req, ENODEV);
        return;
    }
    if (_IOC_TYPE(cmd) != 'H') {
        fuse_reply_err(req, ENOTTY);
        return;
    }
    const auto reply = [&](const void* data, size_t size, int result) {
        fuse_reply_ioctl(req, result, data, std::min(size, outSize));
    };
    if (cmd == HIDIOCGRDESCSIZE) {
        const int size = static_cast<int>(node.descriptor.size());
        reply(&size, sizeof size, 0);
    } else if (cmd == HIDIOCGRDESC) {
        // The caller's size is not seen here: the whole descriptor, as asked by the size ioctl.
        hidraw_report_descriptor descriptor{};
        descriptor.size = static_cast<uint32_t>(node.descriptor.size());
        std::copy(node.descriptor.begin(), node.descriptor.end(), descriptor.value);
        reply(&descriptor, sizeof descriptor, 0);
    } else if (cmd == HIDIOCGRAWINFO) {
        hidraw_devinfo info{};
        info.bustype = 3; // USB
        info.vendor = static_cast<int16_t>(node.attributes.vendorId);
        info.product = static_cast<int16_t>(node.attributes.productId);
        reply(&info, sizeof info, 0);
    } else if (_IOC_NR(cmd) == _IOC_NR(HIDIOCGRAWNAME(0)) && _IOC_DIR(cmd) == _IOC_READ) {
        const std::string name = node.interfaceIndex >= 0 ? "XK-R40 GAMING MOUSE" : "Keyboard";
        const size_t length = std::min(outSize, name.size() + 1);
        reply(name.c_str(), length, static_cast<int>(length));
    } else if (_IOC_NR(cmd) == _IOC_NR(HIDIOCSFEATURE(0)) &&
               _IOC_DIR(cmd) == (_IOC_READ | _IOC_WRITE)) {
        if (inSize < 2) {
            fuse_reply_err(req, EINVAL);
            return;
        }
        const auto* bytes = static_cast<const uint8_t*>(in);
        const std::span<const uint8_t> report(bytes, inSize);
        // A report the firmware refuses, or any while it stalls, is a STALL of the control
        // transfer.
        const bool taken = node.interfaceIndex >= 0 && !owner.stalling() &&
                           owner.mouse().ReceiveFeature(node.interfaceIndex, report);
        if (!taken) {
            fuse_reply_err(req, EPIPE);
            return;
        }
        fuse_reply_ioctl(req, static_cast<int>(inSize), nullptr, 0);
    } else if (_IOC_NR(cmd) == _IOC_NR(HIDIOCGFEATURE(0)) &&
               _IOC_DIR(cmd) == (_IOC_READ | _IOC_WRITE)) {
        const auto* id = static_cast<const uint8_t*>(in);
        if (id == nullptr || inSize < 1 || outSize < 1) {
            fuse_reply_err(req, EINVAL);
            return;
        }
        if (node.interfaceIndex < 0 || owner.stalling()) {
            fuse_reply_err(req, EPIPE);
            return;
        }
        // The firmware keeps no report to give back: the id and zeros.
        std::vector<uint8_t> report(outSize, 0);
        report.front() = *id;
        reply(report.data(), report.size(), static_cast<int>(report.size()));
    } else {
        fuse_reply_err(req, ENOTTY);
    }
}

} // namespace

HidrawNodes::HidrawNodes(VirtualMouse& mouse, std::string devDir, std::string sysDir)
    : mouse_(mouse), devDir_(std::move(devDir)), sysDir_(std::move(sysDir)),
      mountDir_(devDir_ + "/" + kMountName) {
    const auto keyboard = VirtualMouse::Descriptor(mouse.nodes(), VirtualMouse::kKeyboard);
    nodes_.push_back({"hidraw0", kOtherMaker, {keyboard.begin(), keyboard.end()}, -1});
    for (int i = 0; i < mouse.InterfaceCount(); ++i) {
        const auto descriptor = mouse.Descriptor(i);
        nodes_.push_back({"hidraw" + std::to_string(i + 1),
                          VirtualMouse::Attributes(),
                          {descriptor.begin(), descriptor.end()},
                          i});
    }
}

HidrawNodes::~HidrawNodes() {
    for (OpenFile& file : files_) {
        for (const auto& [req, size] : file.reads) {
            fuse_reply_err(req, EIO);
        }
        if (file.poll != nullptr) {
            fuse_pollhandle_destroy(file.poll);
        }
    }
    if (session_ != nullptr) {
        if (mounted_) {
            fuse_session_unmount(session_);
        }
        fuse_session_destroy(session_);
    }
    for (const Node& node : nodes_) {
        std::error_code ignored;
        std::filesystem::remove(devDir_ + "/" + node.name, ignored);
        std::filesystem::remove_all(sysDir_ + "/" + node.name, ignored);
    }
    std::error_code ignored;
    std::filesystem::remove(mountDir_, ignored);
}

bool HidrawNodes::Start(std::string& error) {
    if (!events_.valid()) {
        error = "cannot send device events (a netlink socket needs root)";
        return false;
    }
    static fuse_lowlevel_ops ops{};
    ops.lookup = Lookup;
    ops.getattr = GetAttr;
    ops.readdir = ReadDir;
    ops.access = Access;
    ops.open = Open;
    ops.release = Release;
    ops.read = Read;
    ops.poll = Poll;
    ops.ioctl = Ioctl;
    char program[] = "xk-r40-vmouse";
    char* argv[] = {program, nullptr};
    fuse_args args = FUSE_ARGS_INIT(1, argv);
    session_ = fuse_session_new(&args, &ops, sizeof ops, this);
    std::error_code made;
    std::filesystem::create_directories(mountDir_, made);
    if (session_ == nullptr || made || fuse_session_mount(session_, mountDir_.c_str()) != 0) {
        error = "cannot mount the hidraw nodes on " + mountDir_ + " (FUSE needs /dev/fuse)";
        return false;
    }
    mounted_ = true;
    for (size_t i = 0; i < nodes_.size(); ++i) {
        const std::string link = devDir_ + "/" + nodes_[i].name;
        ::unlink(link.c_str());
        if (::symlink((std::string(kMountName) + "/" + nodes_[i].name).c_str(), link.c_str()) !=
            0) {
            error = "cannot make " + link;
            return false;
        }
        WriteSysfs(nodes_[i]);
        Announce("add", i);
    }
    return true;
}

int HidrawNodes::Fd() const {
    return session_ != nullptr ? fuse_session_fd(session_) : -1;
}

void HidrawNodes::Process() {
    fuse_buf buffer{};
    const int got = fuse_session_receive_buf(session_, &buffer);
    if (got > 0) {
        fuse_session_process_buf(session_, &buffer);
    }
    std::free(buffer.mem);
}

void HidrawNodes::WriteSysfs(const Node& node) const {
    const std::filesystem::path folder = sysDir_ + "/" + node.name;
    std::filesystem::create_directories(folder / "device");
    const std::string minor = node.name.substr(6);
    std::ofstream(folder / "uevent")
        << "MAJOR=240\nMINOR=" << minor << "\nDEVNAME=" << node.name << "\n";
    std::error_code ignored;
    std::filesystem::create_symlink("../../hidraw", folder / "subsystem", ignored);
    std::ofstream(folder / "device" / "uevent")
        << "DRIVER=hid-generic\nHID_ID=" << HidId(node.attributes)
        << "\nHID_NAME=" << (node.interfaceIndex >= 0 ? "XK-R40 GAMING MOUSE" : "Keyboard") << "\n";
    std::ofstream(folder / "device" / "report_descriptor", std::ios::binary)
        .write(reinterpret_cast<const char*>(node.descriptor.data()),
               static_cast<std::streamsize>(node.descriptor.size()));
}

void HidrawNodes::Announce(const std::string& action, size_t index) {
    const Node& node = nodes_[index];
    const std::string sysPath = sysDir_ + "/" + node.name;
    const std::string devPath = sysPath.rfind("/sys", 0) == 0 ? sysPath.substr(4) : sysPath;
    (void)events_.Send(action, "hidraw",
                       {"DEVPATH=" + devPath, "DEVNAME=/dev/" + node.name, "MAJOR=240",
                        "MINOR=" + node.name.substr(6)});
}

void HidrawNodes::Deliver(OpenFile& file) {
    while (!file.reads.empty() && !file.queue.empty()) {
        const auto [req, size] = file.reads.front();
        file.reads.pop_front();
        const std::vector<uint8_t> report = std::move(file.queue.front());
        file.queue.pop_front();
        fuse_reply_buf(req, reinterpret_cast<const char*>(report.data()),
                       std::min(size, report.size()));
    }
}

void HidrawNodes::QueueInput(size_t index, const std::vector<uint8_t>& report) {
    if (index >= nodes_.size() || nodes_[index].gone) {
        return;
    }
    for (OpenFile& file : files_) {
        if (file.node != index) {
            continue;
        }
        if (file.queue.size() < kQueueLength) {
            file.queue.push_back(report);
        }
        Deliver(file);
        if (file.poll != nullptr) {
            fuse_lowlevel_notify_poll(file.poll);
        }
    }
}

void HidrawNodes::SendInput(int interfaceIndex, const std::vector<uint8_t>& report) {
    QueueInput(static_cast<size_t>(interfaceIndex) + 1, report);
}

std::optional<std::string> HidrawNodes::Command(const std::vector<std::string_view>& words) {
    const std::string_view name = words.empty() ? std::string_view() : words[0];
    const auto nodeArgument = [&]() -> std::optional<size_t> {
        const auto index =
            words.size() >= 2
                ? vmouse::ParseNumber(words[1], 0, static_cast<int>(nodes_.size()) - 1)
                : std::nullopt;
        return index ? std::optional<size_t>(static_cast<size_t>(*index)) : std::nullopt;
    };
    if (name == "unplug" && words.size() <= 2) {
        // As the kernel: open files hang up, reads fail, the nodes and their folders go, then
        // udev announces the removal of each. With a node number only that node goes (its
        // driver unbound).
        const auto only = nodeArgument();
        if (words.size() == 2 && !only) {
            return std::string("error unplug takes a node number or nothing\n");
        }
        for (size_t i = 0; i < nodes_.size(); ++i) {
            if ((only ? i != *only : nodes_[i].interfaceIndex < 0) || nodes_[i].gone) {
                continue;
            }
            nodes_[i].gone = true;
            for (OpenFile& file : files_) {
                if (file.node != i) {
                    continue;
                }
                for (const auto& [req, size] : file.reads) {
                    fuse_reply_err(req, EIO);
                }
                file.reads.clear();
                if (file.poll != nullptr) {
                    fuse_lowlevel_notify_poll(file.poll);
                }
            }
            std::error_code ignored;
            std::filesystem::remove(devDir_ + "/" + nodes_[i].name, ignored);
            std::filesystem::remove_all(sysDir_ + "/" + nodes_[i].name, ignored);
            fuse_lowlevel_notify_inval_entry(session_, FUSE_ROOT_ID, nodes_[i].name.c_str(),
                                             nodes_[i].name.size());
            Announce("remove", i);
        }
        return std::string();
    }
    if ((name == "remove" || name == "add") && words.size() == 2) {
        const auto index = nodeArgument();
        if (!index) {
            return "error " + std::string(name) + " takes a node number\n";
        }
        Announce(std::string(name), *index);
        return std::string();
    }
    if (name == "stall" && words.size() == 2 && (words[1] == "on" || words[1] == "off")) {
        stalling_ = words[1] == "on";
        return std::string();
    }
    if (name == "raw" && words.size() >= 3) {
        const auto index = nodeArgument();
        std::string hex;
        for (size_t i = 2; i < words.size(); ++i) {
            hex += std::string(words[i]) + " ";
        }
        hex.pop_back();
        const auto bytes = vmouse::ParseHexBytes(hex);
        if (!index || !bytes || bytes->empty()) {
            return std::string("error raw takes a node number and the report's bytes\n");
        }
        QueueInput(*index, *bytes);
        return std::string();
    }
    if (name == "deny" && words.size() == 2) {
        // As a node without the udev rule that opens it to the person at the seat.
        const auto index = nodeArgument();
        if (!index) {
            return std::string("error deny takes a node number\n");
        }
        nodes_[*index].denied = true;
        return std::string();
    }
    if (name == "opens" && words.size() == 1) {
        std::string out;
        for (const Node& node : nodes_) {
            out += node.name + " " + std::to_string(node.opens) + "\n";
        }
        return out;
    }
    return std::nullopt;
}

} // namespace xk
