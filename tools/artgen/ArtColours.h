#pragma once
#include <QColor>
#include <QRgb>

#include "Paints.h"

// The colour every transparent catalogue pixel carries (alpha 0).
constexpr QRgb TransparentKey = 0x00fd43f2u; // red 253, green 67, blue 242
// Transparent inside of the marker frame.
constexpr QRgb MarkerInsideKey = 0x00ffff00u;

// Paint colours (Paints.h). Under red–green colour blindness the reds, greens and browns
// fall together, and so do the blues and purples; what keeps cars apart for
// every eye is lightness and the blue–yellow axis, so the set spans both:
// white, cream, yellow, orange, silver, sky blue, mid tones, blue, navy, black.
inline QColor ToQColor(const PaintRgb& c) { return QColor(c.R, c.G, c.B); }
const QColor Red = ToQColor(Paint::Red);
const QColor Blue = ToQColor(Paint::Blue);
const QColor Yellow = ToQColor(Paint::Yellow);
const QColor White = ToQColor(Paint::White);
const QColor Black = ToQColor(Paint::Black);
const QColor Green = ToQColor(Paint::Green);
const QColor Orange = ToQColor(Paint::Orange);
const QColor Silver = ToQColor(Paint::Silver);
const QColor Purple = ToQColor(Paint::Purple);
const QColor SkyBlue = ToQColor(Paint::SkyBlue);
const QColor Pink = ToQColor(Paint::Pink);
const QColor Lime = ToQColor(Paint::Lime);
const QColor Teal = ToQColor(Paint::Teal);
const QColor Olive = ToQColor(Paint::Olive);
const QColor Maroon = ToQColor(Paint::Maroon);
const QColor Navy = ToQColor(Paint::Navy);
const QColor Cream = ToQColor(Paint::Cream);
const QColor Brown = ToQColor(Paint::Brown);
const QColor DarkGreen = ToQColor(Paint::DarkGreen);
