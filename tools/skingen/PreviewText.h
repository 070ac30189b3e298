#pragma once

#include "ui/layout/Element.h"

#include <QColor>
#include <QFont>
#include <QPainter>

#include <string>

namespace xk::skingen {

// The program's text fonts: "Consolas" 14 px for English, "宋体" 12 px for Chinese, with the
// substitutes this system has registered for them.
void RegisterFontSubstitutes();
QFont TextFont(int32_t language);

// Draws a text whose top-left corner is at (x, y), as the program's text output does.
void DrawTextAt(QPainter& p, int x, int y, const std::string& text, const QColor& colour);
// Centred in the element: x = left + (width - text width) / 2, the same for y.
void DrawCentred(QPainter& p, const Element& e, const std::string& text, const QColor& colour);
// Left-aligned 5 px in, vertically centred.
void DrawLeft(QPainter& p, const Element& e, const std::string& text, const QColor& colour);

} // namespace xk::skingen
