#pragma once

#include <optional>
#include <string>

namespace xk {

// The desktop's pointer settings that the upload and the exit procedure apply. Speeds are on
// the 1..20 scale (10 is the default); a query that fails means the desktop has no such
// setting, and then nothing is set.
class SystemSettings {
public:
    virtual ~SystemSettings() = default;

    virtual std::optional<int> PointerSpeed() = 0;
    virtual void SetPointerSpeed(int speed) = 0;
    virtual std::optional<int> WheelScrollLines() = 0;
    virtual void SetWheelScrollLines(int lines) = 0;

    // The desktop's own pointer setting, exactly, as one line of text that names the desktop's
    // kind; nothing where it cannot be read. RestorePointerSetting puts such a text back and
    // ignores a text of another kind or one it cannot read.
    virtual std::optional<std::string> PointerSetting() = 0;
    virtual void RestorePointerSetting(const std::string& setting) = 0;
};

inline constexpr int kDefaultPointerSpeed = 10;

// Sets the pointer speed back to the default, only when it can be queried (the exit procedure).
inline void RestoreDefaultPointerSpeed(SystemSettings& system) {
    if (system.PointerSpeed()) {
        system.SetPointerSpeed(kDefaultPointerSpeed);
    }
}

} // namespace xk
