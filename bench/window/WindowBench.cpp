// Main window benchmarks on the delivered skin (build/<preset>/bin/skins). Each kept way is
// measured beside the naive one it replaces: pictures decoded once against decoded at every
// paint, the mask as runs of kept pixels against one region operation per cut pixel.
#include "macro/MacroPage.h"
#include "ui/CNUV_DEvoraDlg.h"
#include "ui/MacroPageWidgets.h"
#include "ui/MaskShape.h"
#include "ui/SkinPainter.h"
#include "ui/layout/LayoutLoader.h"

#include <QApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

namespace xk {
namespace {

const std::filesystem::path kSkins = std::filesystem::path(XK_BIN_DIR) / "skins";

class Quiet : public UserMessages, public ExitProcedure, public Clock, public KeyboardGrab {
public:
    void ShowMessage(std::string_view) override {}
    void ExitProgram() override {}
    int32_t MillisecondsSinceMidnightUtc() const override { return 0; }
    bool GrabKeyboard() override { return false; }
    void ReleaseKeyboard() override {}
};

class NoCommands : public WindowCommands {
public:
    void UploadSettings() override {}
    void HideToTray() override {}
    void ImportProfile() override {}
    void ExportProfile() override {}
    void FactoryReset() override {}
    void SwitchLanguage(int32_t) override {}
    void ImportMacros() override {}
    void ExportMacros() override {}
    void NewMacro() override {}
    void DeleteMacro() override {}
    void SaveMacros() override {}
    void ToggleRepeat() override {}
    void ToggleRecording() override {}
    void FillMacroList() override {}
    WarningResult RunWarning() override { return WarningResult::Confirm; }
    void OpenFunctionPopup() override {}
    void CloseFunctionPopup() override {}
    void OpenEventMenu() override {}
    void ExitProgram() override {}
};

// Everything the main window needs, loaded from the delivered skin.
struct Program {
    Quiet quiet;
    NoCommands commands;
    Settings settings;
    MacroStore macros;
    InterfaceState ui;
    SkinLayout layout;
    SkinPictures pictures{kSkins};
    TextFonts fonts;
    MacroPageWidgets widgets;
    MacroPage page{macros, widgets, quiet, quiet, quiet, {}, {}};
    std::unique_ptr<CNUV_DEvoraDlg> window;

    Program() {
        settings.language = 1;
        settings.dpiEnabled = {1, 1, 1, 1};
        LayoutReader reader(quiet, quiet);
        LoadMainLayout(reader, kSkins, 1, layout);
        LoadLightLayout(reader, kSkins, 1, layout);
        LoadAdvancedLayout(reader, kSkins, 1, layout);
        fonts = CreateTextFonts();
        window = std::make_unique<CNUV_DEvoraDlg>(
            WindowContext{settings, page, ui, layout, pictures, fonts}, widgets, commands);
        window->ApplyShape(ShapeFromMask(kSkins / "main_mask.jpg"));
    }
};

// The region of the kept pixels built the naive way: one exclusive-or per cut pixel.
QRegion RegionPixelByPixel(const QImage& mask) {
    QRegion region(0, 0, mask.width(), mask.height());
    for (int x = 0; x < mask.width(); ++x) {
        for (int y = 0; y < mask.height(); ++y) {
            if (!MaskPixelKept(mask.pixel(x, y))) {
                region ^= QRegion(x, y, 1, 1);
            }
        }
    }
    return region;
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

void StartToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        Program program;
        QImage first = program.window->Painter().Compose();
        benchmark::DoNotOptimize(first.constBits());
    }
}
BENCHMARK(StartToFirstPaint)->Unit(benchmark::kMillisecond);

// One hover repaint of the main page: the composition with the pictures kept.
void HoverRepaint(benchmark::State& state) {
    Program program;
    program.ui.hotMainElement = 25;
    QImage target(program.ui.paintWidth, program.ui.paintHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        const QImage image = program.window->Painter().Compose();
        QPainter(&target).drawImage(0, 0, image);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(HoverRepaint)->Unit(benchmark::kMicrosecond);

// The same repaint when the page's three pictures are decoded for every paint.
void HoverRepaintDecodingEachPaint(benchmark::State& state) {
    Program program;
    program.ui.hotMainElement = 25;
    QImage target(program.ui.paintWidth, program.ui.paintHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        SkinPictures fresh(kSkins);
        const WindowContext context{program.settings, program.page, program.ui,
                                    program.layout,   fresh,        program.fonts};
        const QImage image = SkinPainter(context).Compose();
        QPainter(&target).drawImage(0, 0, image);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(HoverRepaintDecodingEachPaint)->Unit(benchmark::kMicrosecond);

void ShapeFromMaskRuns(benchmark::State& state) {
    const QImage mask = LoadSkinImage(kSkins / "main_mask.jpg");
    for (auto _ : state) {
        QRegion region = RegionFromMask(mask);
        benchmark::DoNotOptimize(region);
    }
}
BENCHMARK(ShapeFromMaskRuns)->Unit(benchmark::kMicrosecond);

void ShapeFromMaskPixelByPixel(benchmark::State& state) {
    const QImage mask = LoadSkinImage(kSkins / "main_mask.jpg");
    for (auto _ : state) {
        QRegion region = RegionPixelByPixel(mask);
        benchmark::DoNotOptimize(region);
    }
}
BENCHMARK(ShapeFromMaskPixelByPixel)->Unit(benchmark::kMillisecond)->Iterations(3);

void ResidentMemoryAfterStart(benchmark::State& state) {
    const long before = ResidentKiB();
    Program program;
    program.window->show();
    for (const uint8_t page : {kMainPage, kMacroPage, kLightPage}) {
        program.settings.currentPage = page;
        QImage image = program.window->Painter().Compose();
        benchmark::DoNotOptimize(image.constBits());
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(ResidentKiB());
    }
    state.counters["rss_KiB"] = static_cast<double>(ResidentKiB());
    state.counters["window_KiB"] = static_cast<double>(ResidentKiB() - before);
}
BENCHMARK(ResidentMemoryAfterStart)->Iterations(1);

} // namespace
} // namespace xk

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
