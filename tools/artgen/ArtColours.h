#pragma once
#include <QColor>
#include <QRgb>

// The colour every transparent catalogue pixel carries (alpha 0).
constexpr QRgb TransparentKey = 0x00fd43f2u; // red 253, green 67, blue 242
// Transparent inside of the marker frame.
constexpr QRgb MarkerInsideKey = 0x00ffff00u;

// Paint colours. Under red–green colour blindness the reds, greens and browns
// fall together, and so do the blues and purples; what keeps cars apart for
// every eye is lightness and the blue–yellow axis, so the set spans both:
// white, cream, yellow, orange, silver, sky blue, mid tones, blue, navy, black.
const QColor Red(212, 36, 36);
const QColor Blue(38, 84, 214);
const QColor Yellow(248, 206, 32);
const QColor White(238, 238, 232);
const QColor Black(42, 44, 50);
const QColor Green(36, 156, 70);
const QColor Orange(250, 132, 24);
const QColor Silver(160, 166, 176);
const QColor Purple(132, 58, 178);
const QColor SkyBlue(104, 192, 242);
const QColor Pink(246, 132, 192);
const QColor Lime(172, 222, 48);
const QColor Teal(18, 160, 160);
const QColor Olive(110, 118, 48);
const QColor Maroon(128, 26, 46);
const QColor Navy(28, 40, 110);
const QColor Cream(240, 224, 170);
const QColor Brown(120, 70, 34);
const QColor DarkGreen(26, 96, 56);
