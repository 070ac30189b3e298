#include "ThemeIcons.h"

#include "PageSource.h"
#include "app/AppIcon.h"

#include <string>

namespace xk::skingen {

void WriteThemeIcons(const std::filesystem::path& themeDir) {
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path dir = themeDir / name / "apps";
        std::filesystem::create_directories(dir);
        const std::filesystem::path file = dir / "xk-r40.png";
        if (!ApplicationIconImage(size).save(QString::fromStdString(file.string()), "PNG")) {
            throw SourceError("cannot write " + file.string());
        }
    }
}

} // namespace xk::skingen
