#pragma once
#include <array>

// The paints of the cars, without a toolkit behind them: artgen draws with them
// (ArtColours.h) and the art test reads the pictures back by them
// (tests/art/DistinctTest.cpp).
struct PaintRgb {
    int R, G, B;
};

namespace Paint {
constexpr PaintRgb Red{212, 36, 36};
constexpr PaintRgb Blue{38, 84, 214};
constexpr PaintRgb Yellow{248, 206, 32};
constexpr PaintRgb White{238, 238, 232};
constexpr PaintRgb Black{42, 44, 50};
constexpr PaintRgb Green{36, 156, 70};
constexpr PaintRgb Orange{250, 132, 24};
constexpr PaintRgb Silver{160, 166, 176};
constexpr PaintRgb Purple{132, 58, 178};
constexpr PaintRgb SkyBlue{104, 192, 242};
constexpr PaintRgb Pink{246, 132, 192};
constexpr PaintRgb Lime{172, 222, 48};
constexpr PaintRgb Teal{18, 160, 160};
constexpr PaintRgb Olive{110, 118, 48};
constexpr PaintRgb Maroon{128, 26, 46};
constexpr PaintRgb Navy{28, 40, 110};
constexpr PaintRgb Cream{240, 224, 170};
constexpr PaintRgb Brown{120, 70, 34};
constexpr PaintRgb DarkGreen{26, 96, 56};
} // namespace Paint

struct NamedPaint {
    const char* Name;
    PaintRgb Colour;
};

// Every paint a car wears, by name.
constexpr std::array<NamedPaint, 19> Palette = {{
    {"red", Paint::Red},       {"blue", Paint::Blue},     {"yellow", Paint::Yellow},  {"white", Paint::White},
    {"black", Paint::Black},   {"green", Paint::Green},   {"orange", Paint::Orange},  {"silver", Paint::Silver},
    {"purple", Paint::Purple}, {"sky blue", Paint::SkyBlue}, {"pink", Paint::Pink},    {"lime", Paint::Lime},
    {"teal", Paint::Teal},     {"olive", Paint::Olive},   {"maroon", Paint::Maroon},  {"navy", Paint::Navy},
    {"cream", Paint::Cream},   {"brown", Paint::Brown},   {"dark green", Paint::DarkGreen},
}};
