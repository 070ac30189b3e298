#pragma once

#include "UdevEvents.h"
#include "device/VirtualMouse.h"

#include <cstdint>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct fuse_session;

namespace xk {

// The virtual mouse in the kernel's place: its interfaces as hidraw nodes served over FUSE,
// answering the hidraw ioctls, read and poll as the kernel does, with their sysfs folders and
// udev's add and remove events. Node 0 is another maker's device; the mouse's interface i is
// node i + 1. Runs on the server's one thread: Process() when Fd() is readable.
class HidrawNodes {
public:
    // The nodes appear in `devDir` (hidrawN, links into a FUSE mount there), their sysfs
    // folders in `sysDir`.
    HidrawNodes(VirtualMouse& mouse, std::string devDir, std::string sysDir);
    ~HidrawNodes();
    HidrawNodes(const HidrawNodes&) = delete;
    HidrawNodes& operator=(const HidrawNodes&) = delete;

    // Mounts, writes the sysfs folders and announces every node; false with `error` set.
    bool Start(std::string& error);
    int Fd() const;
    void Process();

    // An input report of the mouse's interface, to every open file of its node.
    void SendInput(int interfaceIndex, const std::vector<uint8_t>& report);
    // The commands of the nodes (unplug [N], remove N, add N, stall on|off, raw N HEX, deny N,
    // opens);
    // nothing for a command that is not theirs.
    std::optional<std::string> Command(const std::vector<std::string_view>& words);

    struct OpenFile;
    struct Node {
        std::string name;
        HidAttributes attributes;
        std::vector<uint8_t> descriptor;
        int interfaceIndex = -1; // -1: not the mouse's
        bool gone = false;
        bool denied = false; // opens and access checks fail with EACCES
        int opens = 0;
    };

    // For the FUSE callbacks.
    std::vector<Node>& nodes() { return nodes_; }
    std::list<OpenFile>& files() { return files_; }
    VirtualMouse& mouse() { return mouse_; }
    bool stalling() const { return stalling_; }
    void Deliver(OpenFile& file);

private:
    void WriteSysfs(const Node& node) const;
    void Announce(const std::string& action, size_t index);
    void QueueInput(size_t index, const std::vector<uint8_t>& report);

    VirtualMouse& mouse_;
    std::string devDir_;
    std::string sysDir_;
    std::string mountDir_;
    std::vector<Node> nodes_;
    std::list<OpenFile> files_;
    UdevEvents events_;
    fuse_session* session_ = nullptr;
    bool mounted_ = false;
    bool stalling_ = false;
};

} // namespace xk
