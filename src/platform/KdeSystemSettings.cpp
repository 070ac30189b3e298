#include "platform/KdeSystemSettings.h"

#include "platform/DesktopSpeed.h"
#include "platform/PointerSettingText.h"

#include <algorithm>

#include <gio/gio.h>

#include <memory>

namespace xk {
namespace {

constexpr const char* kKWin = "org.kde.KWin";
constexpr const char* kManagerPath = "/org/kde/KWin/InputDevice";
constexpr const char* kManagerInterface = "org.kde.KWin.InputDeviceManager";
constexpr const char* kDeviceInterface = "org.kde.KWin.InputDevice";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
constexpr const char* kAcceleration = "pointerAcceleration";
constexpr int kCallTimeoutMs = 1000;

struct VariantUnref {
    void operator()(GVariant* value) const { g_variant_unref(value); }
};
using Variant = std::unique_ptr<GVariant, VariantUnref>;

// One property of a KWin object, or null when KWin does not answer or the value is not of `type`.
Variant GetProperty(GDBusConnection* bus, const std::string& path, const char* interface,
                    const char* name, const GVariantType* type) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        bus, kKWin, path.c_str(), kProperties, "Get", g_variant_new("(ss)", interface, name),
        G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr, &error);
    if (reply == nullptr) {
        g_clear_error(&error);
        return nullptr;
    }
    GVariant* value = nullptr;
    g_variant_get(reply, "(v)", &value);
    g_variant_unref(reply);
    Variant result(value);
    if (!g_variant_is_of_type(value, type)) {
        return nullptr;
    }
    return result;
}

bool BoolProperty(GDBusConnection* bus, const std::string& path, const char* name) {
    const Variant value = GetProperty(bus, path, kDeviceInterface, name, G_VARIANT_TYPE_BOOLEAN);
    return value && g_variant_get_boolean(value.get());
}

} // namespace

KdeSystemSettings::KdeSystemSettings(std::string busAddress) : busAddress_(std::move(busAddress)) {}

KdeSystemSettings::~KdeSystemSettings() {
    if (bus_ != nullptr) {
        g_object_unref(bus_);
    }
}

GDBusConnection* KdeSystemSettings::Bus() {
    if (connected_) {
        return bus_;
    }
    connected_ = true;
    GError* error = nullptr;
    if (busAddress_.empty()) {
        bus_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    } else {
        const auto flags =
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
        bus_ = g_dbus_connection_new_for_address_sync(busAddress_.c_str(), flags, nullptr, nullptr,
                                                      &error);
    }
    g_clear_error(&error);
    return bus_;
}

std::vector<std::string> KdeSystemSettings::Mice() {
    std::vector<std::string> mice;
    GDBusConnection* bus = Bus();
    if (bus == nullptr) {
        return mice;
    }
    const Variant names = GetProperty(bus, kManagerPath, kManagerInterface, "devicesSysNames",
                                      G_VARIANT_TYPE_STRING_ARRAY);
    if (!names) {
        return mice;
    }
    const gsize count = g_variant_n_children(names.get());
    for (gsize i = 0; i < count; ++i) {
        const Variant child(g_variant_get_child_value(names.get(), i));
        const std::string path =
            std::string(kManagerPath) + "/" + g_variant_get_string(child.get(), nullptr);
        // A name that makes no object path is not asked about.
        if (!g_variant_is_object_path(path.c_str())) {
            continue;
        }
        if (BoolProperty(bus, path, "pointer") && !BoolProperty(bus, path, "touchpad") &&
            BoolProperty(bus, path, "supportsPointerAcceleration")) {
            mice.push_back(path);
        }
    }
    return mice;
}

std::optional<int> KdeSystemSettings::PointerSpeed() {
    for (const std::string& mouse : Mice()) {
        const Variant value =
            GetProperty(bus_, mouse, kDeviceInterface, kAcceleration, G_VARIANT_TYPE_DOUBLE);
        if (value) {
            return PointerSpeedOfDesktopSpeed(g_variant_get_double(value.get()));
        }
    }
    return std::nullopt;
}

void KdeSystemSettings::SetAcceleration(const std::string& mouse, double acceleration) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        bus_, kKWin, mouse.c_str(), kProperties, "Set",
        g_variant_new("(ssv)", kDeviceInterface, kAcceleration, g_variant_new_double(acceleration)),
        nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr, &error);
    if (reply != nullptr) {
        g_variant_unref(reply);
    }
    g_clear_error(&error);
}

void KdeSystemSettings::SetPointerSpeed(int speed) {
    const double acceleration = DesktopSpeedOfPointerSpeed(speed);
    for (const std::string& mouse : Mice()) {
        SetAcceleration(mouse, acceleration);
    }
}

std::optional<int> KdeSystemSettings::WheelScrollLines() {
    return std::nullopt;
}

void KdeSystemSettings::SetWheelScrollLines(int /*lines*/) {}

// "kde <device path> <acceleration> ...": each mouse's own acceleration.
std::optional<std::string> KdeSystemSettings::PointerSetting() {
    std::string setting = "kde";
    for (const std::string& mouse : Mice()) {
        const Variant value =
            GetProperty(bus_, mouse, kDeviceInterface, kAcceleration, G_VARIANT_TYPE_DOUBLE);
        if (value) {
            setting += " " + mouse + " " + WordOfDesktopSpeed(g_variant_get_double(value.get()));
        }
    }
    if (setting == "kde") {
        return std::nullopt;
    }
    return setting;
}

void KdeSystemSettings::RestorePointerSetting(const std::string& setting) {
    const auto words = WordsOfKind(setting, "kde");
    if (!words || words->size() % 2 != 0) {
        return;
    }
    // Only mice that KWin lists now; one plugged in since keeps its own value.
    const std::vector<std::string> mice = Mice();
    for (size_t i = 0; i < words->size(); i += 2) {
        const std::string mouse((*words)[i]);
        const std::optional<double> acceleration = DesktopSpeedOfWord((*words)[i + 1]);
        if (acceleration && std::find(mice.begin(), mice.end(), mouse) != mice.end()) {
            SetAcceleration(mouse, *acceleration);
        }
    }
}

} // namespace xk
