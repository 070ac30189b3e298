// xk-r40-skingen: writes everything the program needs beside its executable from the readable
// sources in data/: skin pictures, layout files of both languages, config.ini and the macro
// files. With --preview DIR it also writes PNG previews with the texts drawn in; with --icons DIR
// the application icon into an icon theme folder.

#include "ConfigSource.h"
#include "MacroSource.h"
#include "Preview.h"
#include "SkinDrawing.h"
#include "SkinSources.h"
#include "ThemeIcons.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

// Qt's raster code hands large images to its own thread pool and synchronises it in code that
// ThreadSanitizer does not see; its reports inside Qt are not this program's races.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libQt6Core.so\nrace:libQt6Gui.so\n";
}

namespace fs = std::filesystem;
using namespace xk::skingen;

namespace {

void WriteMacroFiles(const fs::path& data, const fs::path& out) {
    const auto builtIn = LoadMacroSource(data / "macros" / "builtin.macros");
    const auto user = LoadMacroSource(data / "macros" / "user.macros");
    if (builtIn.size() < 8) {
        throw SourceError("builtin.macros: codes 31..38 play eight built-in macros");
    }
    WriteMacroFile(builtIn, kEnglish, out / "constMacro.dat");
    WriteMacroFile(user, kEnglish, out / "skins" / "INI_EN" / "defMacro.dat");
    WriteMacroFile(user, kChinese, out / "skins" / "INI_CN" / "defMacro.dat");
    WriteMacroFile(user, kEnglish, out / "Macro_EN.dat");
    WriteMacroFile(user, kChinese, out / "Macro_CN.dat");
}

} // namespace

int main(int argc, char** argv) {
    fs::path previewDir;
    fs::path iconDir;
    bool usage = argc < 3 || argc % 2 == 0;
    for (int i = 3; !usage && i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--preview") {
            previewDir = argv[i + 1];
        } else if (option == "--icons") {
            iconDir = argv[i + 1];
        } else {
            usage = true;
        }
    }
    if (usage) {
        std::fprintf(stderr,
                     "usage: %s DATA_DIR OUT_DIR [--preview PREVIEW_DIR] [--icons ICON_DIR]\n",
                     argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const fs::path data = argv[1];
    const fs::path out = argv[2];
    try {
        const SkinSources sources = LoadSkinSources(data / "skin");
        WriteLayoutFiles(sources, out / "skins");
        WritePictures(DrawSkinPictures(sources), out / "skins");
        WriteConfigIni(data / "config" / "presets.ini", out / "config.ini");
        WriteMacroFiles(data, out);
        if (!previewDir.empty()) {
            WritePreviews(out, previewDir);
        }
        if (!iconDir.empty()) {
            WriteThemeIcons(iconDir);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}
