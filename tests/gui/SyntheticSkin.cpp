#include "SyntheticSkin.h"

#include "ui/MaskShape.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace xk::test {
namespace {

void SaveFlat(const std::filesystem::path& file, QColor colour, int width = kSkinWidth,
              int height = kSkinHeight) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    image.save(QString::fromStdString(file.string()), "JPG", 100);
}

void Place(Element& e, int x, int y, int w, int h) {
    e = Element{x, y, w, h};
}

} // namespace

bool Near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

SyntheticSkin::SyntheticSkin() {
    const auto skins = dir.path() / "skins";
    std::filesystem::create_directories(skins);
    SaveFlat(skins / "main_normal.jpg", kMainNormal);
    SaveFlat(skins / "advanced_normal.jpg", kMacroNormal);
    SaveFlat(skins / "color_normal_pink.jpg", kLightNormal);
    for (const char* name : {"main_over.jpg", "advanced_over.jpg", "color_over_red.jpg"}) {
        SaveFlat(skins / name, kOver);
    }
    for (const char* name : {"main_down.jpg", "advanced_down.jpg", "color_down_purple.jpg"}) {
        SaveFlat(skins / name, kDown);
    }
    SaveFlat(skins / "color_over_blue.jpg", kLedBlue);
    SaveFlat(skins / "color_normal_gray.jpg", kLedGray);
    {
        // Dark window with its top-right corner (40 x 40) cut away.
        QImage mask(kSkinWidth, kSkinHeight, QImage::Format_RGB32);
        mask.fill(Qt::black);
        QPainter(&mask).fillRect(kSkinWidth - 40, 0, 40, 40, Qt::white);
        mask.save(QString::fromStdString((skins / "main_mask.jpg").string()), "JPG", 100);
    }

    const int popupHeight = 10 * kPopupRowHeight;
    const int subHeight = 12 * kPopupRowHeight;
    SaveFlat(skins / "menu_mask.jpg", Qt::black, kPopupWidth, popupHeight);
    SaveFlat(skins / "menu_normal.jpg", kPopupNormal, kPopupWidth, popupHeight + 1);
    SaveFlat(skins / "menu_over.jpg", kOver, kPopupWidth, popupHeight + 1);
    SaveFlat(skins / "menu_down.jpg", kDown, kPopupWidth, popupHeight + 1);
    SaveFlat(skins / "advanced menu_mask.jpg", Qt::black, kSubPopupWidth, subHeight);
    SaveFlat(skins / "advanced menu_normal.jpg", kPopupNormal, kSubPopupWidth, subHeight + 1);
    SaveFlat(skins / "advanced menu_over.jpg", kOver, kSubPopupWidth, subHeight + 1);
    SaveFlat(skins / "advanced menu_down.jpg", kDown, kSubPopupWidth, subHeight + 1);
    SaveFlat(skins / "warning_normal.jpg", kWarningNormal, kWarningWidth, kWarningHeight);
    SaveFlat(skins / "warning_over.jpg", kOver, kWarningWidth, kWarningHeight);
    {
        // The warning's top-left corner (20 x 20) is cut away.
        QImage mask(kWarningWidth, kWarningHeight, QImage::Format_RGB32);
        mask.fill(Qt::black);
        QPainter(&mask).fillRect(0, 0, 20, 20, Qt::white);
        mask.save(QString::fromStdString((skins / "warning_mask.jpg").string()), "JPG", 100);
    }

    auto& M = layout.mainElements;
    for (int k = 0; k < 20; ++k) {
        Place(M[static_cast<size_t>(k)], 5 + k * 17, 5, 16, 15); // common elements, top row
    }
    for (int b = 0; b < 8; ++b) {
        Place(M[static_cast<size_t>(25 + b)], 10, 30 + b * 14, 150, 13);  // button slots
        Place(M[static_cast<size_t>(115 + b)], 300, 30 + b * 14, 20, 13); // second highlights
    }
    Place(M[41], 170, 30, 25, 12);
    Place(M[42], 200, 30, 25, 12);
    for (int i = 0; i < 4; ++i) {
        Place(M[static_cast<size_t>(46 + i)], 170 + i * 30, 50, 25, 12);
        Place(M[static_cast<size_t>(54 + i)], 170 + i * 30, 70, 25, 12);
        for (int s = 0; s < 12; ++s) {
            Place(M[static_cast<size_t>(66 + 12 * i + s)], 10 + s * 20, 150 + i * 20, 18, 14);
        }
    }
    Place(M[114], 170, 30, 25, 12); // overlaps element 41
    layout.functionName[1] = "Left Button";
    layout.functionName[2] = "Right Button";

    for (int code = 3; code < kFunctionNameCount; ++code) {
        layout.functionName[static_cast<size_t>(code)] = "F" + std::to_string(code);
    }
    Place(layout.warningElements[0], 20, 60, 70, 30);
    Place(layout.warningElements[1], 110, 60, 70, 30);
    Place(layout.warningElements[2], 20, 20, 160, 30);
    layout.warningCaptions = {"OK", "Cancel", "Sure?"};

    auto& A = layout.macroElements;
    for (int j = 0; j < 8; ++j) {
        Place(A[static_cast<size_t>(j)], 10 + j * 45, 40, 40, 15);
    }
    for (int j = 0; j < 10; ++j) {
        Place(A[static_cast<size_t>(8 + j)], 10 + j * 20, 60, 18, 12);
        Place(A[static_cast<size_t>(18 + j)], 10 + j * 20, 80, 18, 12);
    }
    Place(A[30], 100, 120, 200, 10);
    Place(A[31], 310, 120, 20, 10);
    Place(A[32], 340, 120, 20, 10);
    Place(A[33], 100, 100, 60, 16);
    layout.macroCaptions[5] = "Save";
    layout.repeatCountEditRect = {10, 140, 70, 160};
    layout.macroNameEditRect = {80, 140, 180, 160};
    layout.macroListRect = {10, 200, 160, 280};
    layout.eventListRect = {170, 200, 320, 280};

    auto& L = layout.lightElements;
    for (int j = 0; j < 5; ++j) {
        Place(L[static_cast<size_t>(j)], 10 + j * 45, 40, 40, 15);
    }
    Place(L[9], 10, 100, 80, 16);
    Place(L[11], 100, 150, 100, 50);

    settings.configPath = dir.path() / "config.ini";
    settings.language = 1;
    settings.dpiEnabled = {1, 1, 1, 1};
    pictures = std::make_unique<SkinPictures>(skins);
    fonts = CreateTextFonts();
    window = std::make_unique<CNUV_DEvoraDlg>(Context(), widgets, commands);
    window->ApplyShape(ShapeFromMask(skins / "main_mask.jpg"));
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) {
        ADD_FAILURE() << "the window was not exposed";
    }
}

QImage SyntheticSkin::Grab() {
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void SyntheticSkin::MoveTo(const Element& e) {
    // Qt drops a move to where the pointer already is (left there by an earlier test of the
    // same process): a step beside it first makes the move to the centre a real one.
    QTest::mouseMove(window.get(), Centre(e) + QPoint(1, 1));
    QTest::mouseMove(window.get(), Centre(e));
}

void SyntheticSkin::Press(const Element& e) {
    MoveTo(e);
    QTest::mousePress(window.get(), Qt::LeftButton, Qt::NoModifier, Centre(e));
}

void SyntheticSkin::Release(const Element& e) {
    QTest::mouseRelease(window.get(), Qt::LeftButton, Qt::NoModifier, Centre(e));
}

void SyntheticSkin::Click(const Element& e) {
    Press(e);
    Release(e);
}

} // namespace xk::test
