#include "ui/MaskShape.h"

#include "ui/SkinPictures.h"

#include <vector>

namespace xk {

QRegion RegionFromMask(const QImage& source) {
    const QImage mask =
        source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
            ? source
            : source.convertToFormat(QImage::Format_RGB32);
    std::vector<QRect> runs;
    const int width = mask.width();
    for (int y = 0; y < mask.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && !MaskPixelKept(line[x])) {
                ++x;
            }
            const int start = x;
            while (x < width && MaskPixelKept(line[x])) {
                ++x;
            }
            if (x > start) {
                runs.emplace_back(start, y, x - start, 1);
            }
        }
    }
    QRegion region;
    if (!runs.empty()) {
        // setRects wants y-x banded rectangles that do not overlap: one row at a time is.
        region.setRects(runs.data(), static_cast<int>(runs.size()));
    }
    return region;
}

MaskShape ShapeFromMask(const std::filesystem::path& maskPath) {
    const QImage mask = LoadSkinImage(maskPath);
    if (mask.isNull()) {
        return {};
    }
    return {mask.size(), RegionFromMask(mask)};
}

QRect RectOf(const Rect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

QRegion MacroRepaintRegion(const QRegion& outline, const Rect& macroNameEdit, const Rect& macroList,
                           const Rect& eventList) {
    QRegion region = outline;
    for (const Rect* r : {&macroNameEdit, &macroList, &eventList}) {
        if (r->right > r->left && r->bottom > r->top) {
            region -= RectOf(*r);
        }
    }
    return region;
}

} // namespace xk
