#pragma once

#include "ui/SkinPictures.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>

namespace xk {

// What one of the popups' row lists shows: `rows` bands of `rowHeight` stacked from the top.
struct RowList {
    QSize size;            // the window's size
    int32_t rowHeight = 0; // height of a band
    int32_t rows = 0;      // rows with a text, 1..rows
    int32_t hotRow = 0;    // the row under the pointer, or kNoElement
    bool pressed = false;  // the left button is held on the list
};

// Composes a popup: the normal picture, the hot row's band copied from the down picture while
// pressed and from the over picture otherwise, then every row's text centred in its band in
// `font`, red for the hot row and white for the others; at the screen's device pixel ratio.
QImage ComposeRowList(const PagePictures& pictures, const RowList& list, const QFont& font,
                      const std::function<QString(int32_t)>& textOfRow,
                      qreal devicePixelRatio = 1.0);

} // namespace xk
