#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct _GMainLoop;
struct _GDBusConnection;

namespace xk::test {

// KWin's input devices as its D-Bus interface shows them (org.kde.KWin on the bus at an
// address): the device list and each device's pointer, touchpad and acceleration properties.
// It serves on a thread of its own.
class FakeKWin {
public:
    struct Device {
        std::string sysName;
        bool pointer = false;
        bool touchpad = false;
        bool supportsAcceleration = false;
        double acceleration = 0.0;
    };

    // `listed` are the names in the device list: the devices' names and any others.
    FakeKWin(std::string busAddress, std::vector<Device> devices, std::vector<std::string> listed);
    ~FakeKWin();
    FakeKWin(const FakeKWin&) = delete;
    FakeKWin& operator=(const FakeKWin&) = delete;

    // Whether it owns its name on the bus.
    bool Serving() const { return serving_; }
    double Acceleration(const std::string& sysName);

    // Called from the bus's callbacks.
    struct Object {
        FakeKWin* kwin;
        int device; // -1 for the device manager
    };
    void* GetProperty(const Object& object, const std::string& name);
    bool SetProperty(const Object& object, const std::string& name, void* value);

private:
    // Connects, registers the objects and takes the name; the connection, or null.
    _GDBusConnection* Serve(const std::string& busAddress);

    std::mutex mutex_;
    std::vector<Device> devices_;
    std::vector<std::string> listed_;
    std::vector<Object> objects_;
    bool serving_ = false;
    _GMainLoop* loop_ = nullptr;
    std::thread thread_;
};

} // namespace xk::test
