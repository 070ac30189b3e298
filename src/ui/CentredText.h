#pragma once

#include "ui/layout/Element.h"

#include <QColor>
#include <QString>

class QPainter;

namespace xk {

// Draws a text centred in an element's rectangle with the painter's font: at x + (width - text
// width) / 2 and y + (height - text height) / 2, both divisions truncating. Nothing for an
// empty text.
void DrawCentredText(QPainter& p, const Element& e, const QString& text, const QColor& colour);

} // namespace xk
