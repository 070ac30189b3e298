#pragma once

#include "device/SystemSettings.h"

#include <filesystem>
#include <optional>
#include <string>

namespace xk {

// The file of the person's folder that holds the desktop's pointer setting of the start until
// the exit has put it back.
inline constexpr const char* kStartPointerFileName = "desktop-pointer-setting";

// The desktop's pointer setting as the program found it, which the exit puts back: an upload
// changes it, and GNOME and KDE Plasma keep a change for good. Until the exit has put it back
// it is also kept in a file, so that the start after a crash puts back the setting of before
// the crash instead of keeping the program's.
class StartPointerSetting {
public:
    StartPointerSetting(SystemSettings& system, std::filesystem::path file);

    // At start, before the first upload: a setting left in the file by a run that did not end
    // cleanly is put back and kept; otherwise the desktop's setting is read, kept and written.
    void Keep();
    // At exit: the kept setting is put back and the file removed. Nothing kept (the desktop's
    // setting could not be read): the default speed, where the speed can be read.
    void PutBack();

private:
    SystemSettings& system_;
    std::filesystem::path file_;
    std::optional<std::string> kept_;
};

} // namespace xk
