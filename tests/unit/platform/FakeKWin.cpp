#include "FakeKWin.h"

#include <gio/gio.h>

#include <future>

// GLib and GDBus hand memory between their threads (the test's KWin, GDBus's worker) with
// locks of their own that ThreadSanitizer does not see; its reports inside them are not the
// test's races.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libglib-2.0.so\nrace:libgio-2.0.so\nrace:libgobject-2.0.so\n";
}

namespace xk::test {
namespace {

constexpr const char* kIntrospection = R"(<node>
  <interface name='org.kde.KWin.InputDeviceManager'>
    <property name='devicesSysNames' type='as' access='read'/>
  </interface>
  <interface name='org.kde.KWin.InputDevice'>
    <property name='pointer' type='b' access='read'/>
    <property name='touchpad' type='b' access='read'/>
    <property name='supportsPointerAcceleration' type='b' access='read'/>
    <property name='pointerAcceleration' type='d' access='readwrite'/>
  </interface>
</node>)";

GVariant* GetPropertyCallback(GDBusConnection* /*bus*/, const gchar* /*sender*/,
                              const gchar* /*path*/, const gchar* /*interface*/, const gchar* name,
                              GError** /*error*/, gpointer data) {
    const auto* object = static_cast<FakeKWin::Object*>(data);
    return static_cast<GVariant*>(object->kwin->GetProperty(*object, name));
}

gboolean SetPropertyCallback(GDBusConnection* /*bus*/, const gchar* /*sender*/,
                             const gchar* /*path*/, const gchar* /*interface*/, const gchar* name,
                             GVariant* value, GError** error, gpointer data) {
    const auto* object = static_cast<FakeKWin::Object*>(data);
    if (!object->kwin->SetProperty(*object, name, value)) {
        g_set_error_literal(error, G_DBUS_ERROR, G_DBUS_ERROR_PROPERTY_READ_ONLY, "read only");
        return FALSE;
    }
    return TRUE;
}

const GDBusInterfaceVTable kVTable = {nullptr, GetPropertyCallback, SetPropertyCallback, {}};

} // namespace

FakeKWin::FakeKWin(std::string busAddress, std::vector<Device> devices,
                   std::vector<std::string> listed)
    : devices_(std::move(devices)), listed_(std::move(listed)) {
    objects_.push_back({this, -1});
    for (size_t i = 0; i < devices_.size(); ++i) {
        objects_.push_back({this, static_cast<int>(i)});
    }
    std::promise<void> ready;
    std::future<void> started = ready.get_future();
    thread_ = std::thread([this, busAddress, &ready] {
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        loop_ = g_main_loop_new(context, FALSE);
        GDBusConnection* bus = Serve(busAddress);
        ready.set_value();
        g_main_loop_run(loop_);
        if (bus != nullptr) {
            g_dbus_connection_close_sync(bus, nullptr, nullptr);
            g_object_unref(bus);
        }
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    });
    started.wait();
}

FakeKWin::~FakeKWin() {
    g_main_loop_quit(loop_);
    thread_.join();
    g_main_loop_unref(loop_);
}

_GDBusConnection* FakeKWin::Serve(const std::string& busAddress) {
    const auto flags =
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    GDBusConnection* bus = g_dbus_connection_new_for_address_sync(busAddress.c_str(), flags,
                                                                  nullptr, nullptr, nullptr);
    if (bus == nullptr) {
        return nullptr;
    }
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
    g_dbus_connection_register_object(bus, "/org/kde/KWin/InputDevice", node->interfaces[0],
                                      &kVTable, &objects_[0], nullptr, nullptr);
    for (size_t i = 0; i < devices_.size(); ++i) {
        const std::string path = "/org/kde/KWin/InputDevice/" + devices_[i].sysName;
        g_dbus_connection_register_object(bus, path.c_str(), node->interfaces[1], &kVTable,
                                          &objects_[i + 1], nullptr, nullptr);
    }
    g_dbus_node_info_unref(node);
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
        g_variant_new("(su)", "org.kde.KWin", 0U), G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE,
        5000, nullptr, nullptr);
    if (reply != nullptr) {
        g_variant_unref(reply);
        serving_ = true;
    }
    return bus;
}

double FakeKWin::Acceleration(const std::string& sysName) {
    const std::lock_guard lock(mutex_);
    for (const Device& device : devices_) {
        if (device.sysName == sysName) {
            return device.acceleration;
        }
    }
    return -99.0;
}

void* FakeKWin::GetProperty(const Object& object, const std::string& name) {
    const std::lock_guard lock(mutex_);
    if (object.device < 0) {
        GVariantBuilder names;
        g_variant_builder_init(&names, G_VARIANT_TYPE_STRING_ARRAY);
        for (const std::string& listed : listed_) {
            g_variant_builder_add(&names, "s", listed.c_str());
        }
        return g_variant_builder_end(&names);
    }
    const Device& device = devices_[static_cast<size_t>(object.device)];
    if (name == "pointer") {
        return g_variant_new_boolean(device.pointer);
    }
    if (name == "touchpad") {
        return g_variant_new_boolean(device.touchpad);
    }
    if (name == "supportsPointerAcceleration") {
        return g_variant_new_boolean(device.supportsAcceleration);
    }
    return g_variant_new_double(device.acceleration);
}

bool FakeKWin::SetProperty(const Object& object, const std::string& name, void* value) {
    const std::lock_guard lock(mutex_);
    if (object.device < 0 || name != "pointerAcceleration") {
        return false;
    }
    devices_[static_cast<size_t>(object.device)].acceleration =
        g_variant_get_double(static_cast<GVariant*>(value));
    return true;
}

} // namespace xk::test
