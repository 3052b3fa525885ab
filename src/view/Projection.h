#pragma once
#include "model/Board.h"
#include "view/Rect.h"

#include <cstdint>

// The 96 × 48 box around a bay's footprint; tiles and markers are drawn into it 1:1.
Rect BayRect(int32_t column, int32_t row);
// The 74 × 48 box of the bay's car, 4 pixels above the bay's centre.
Rect CarRect(int32_t column, int32_t row);
// The bay under a pixel, with truncating division. No range check.
BayPos BayAt(int32_t x, int32_t y);

constexpr Rect StartRect{128, 256, 224, 304};    // BayRect of (5, 11)
constexpr Rect CarStartRect{139, 252, 213, 300}; // CarRect of (5, 11)
