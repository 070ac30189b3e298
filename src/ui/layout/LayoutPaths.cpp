#include "ui/layout/LayoutPaths.h"

#include "settings/Language.h"

namespace xk {

std::string_view LayoutFolderName(int32_t language) {
    return IsEnglish(language) ? "INI_EN" : "INI_CN";
}

std::string_view LayoutFileName(LayoutKind kind, int32_t language) {
    const bool english = IsEnglish(language);
    switch (kind) {
    case LayoutKind::Main:
        return english ? "skin_main_en.ini" : "skin_main.ini";
    case LayoutKind::Light:
        return english ? "skin_color_en.ini" : "skin_color.ini";
    case LayoutKind::Advanced:
        return english ? "skin_advance_en.ini" : "skin_advance.ini";
    case LayoutKind::Warning:
        return english ? "LBWarning_en.ini" : "LBWarning.ini";
    }
    return {};
}

std::filesystem::path LayoutPath(const std::filesystem::path& skinsDir, LayoutKind kind,
                                 int32_t language) {
    return skinsDir / LayoutFolderName(language) / LayoutFileName(kind, language);
}

} // namespace xk
