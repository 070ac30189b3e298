#pragma once

#include "ui/layout/SkinLayout.h"

#include <QImage>
#include <QRegion>
#include <QSize>

#include <filesystem>

namespace xk {

// A mask pixel is cut out of the window when red, green and blue are all above 100.
inline bool MaskPixelKept(QRgb pixel) {
    return qRed(pixel) <= 100 || qGreen(pixel) <= 100 || qBlue(pixel) <= 100;
}

// The region of the kept pixels of a mask, built from runs of kept pixels per row.
QRegion RegionFromMask(const QImage& mask);

struct MaskShape {
    QSize size;     // the mask's size; empty when the mask could not be read
    QRegion region; // the window's outline
};

// Decodes the mask picture and builds the outline; nothing (an empty shape) when it cannot be
// read.
MaskShape ShapeFromMask(const std::filesystem::path& maskPath);

// The outline less the three control rectangles that the macro page's paint must not cover.
QRegion MacroRepaintRegion(const QRegion& outline, const Rect& macroNameEdit, const Rect& macroList,
                           const Rect& eventList);

QRect RectOf(const Rect& r);

} // namespace xk
