#pragma once
#include <QColor>
#include <QPainter>
#include <QPoint>

#include <string>

// A 3 × 5 pixel font for the few letters and numbers too small for a real font.
// Each glyph is 3 pixels wide with one pixel between glyphs.
void DrawTinyText(QPainter& painter, QPoint topLeft, const std::string& text, const QColor& colour, int scale = 1);
int TinyTextWidth(const std::string& text, int scale = 1);
