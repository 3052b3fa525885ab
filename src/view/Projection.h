#pragma once
#include "model/Board.h"
#include "view/Rect.h"

#include <algorithm>
#include <cstdint>

// The play view, and the background pictures drawn for it.
constexpr int32_t PlayViewWidth = 768;
constexpr int32_t PlayViewHeight = 480;

// One step up in column moves a bay by (64, −32) pixels, up and to the right;
// one step up in row by (32, 16), down and to the right. A bay's footprint is
// the parallelogram of the two steps, from its left corner (0, 32) in its
// BayRect.
constexpr int32_t ColumnStepX = 64;
constexpr int32_t ColumnStepY = -32;
constexpr int32_t RowStepX = 32;
constexpr int32_t RowStepY = 16;

// The 96 × 48 box around a bay's footprint; tiles and markers are drawn into it 1:1.
constexpr int32_t BayRectWidth = ColumnStepX + RowStepX;
constexpr int32_t BayRectHeight = RowStepY - ColumnStepY;
Rect BayRect(int32_t column, int32_t row);
// The 74 × 48 box of the bay's car: 11 pixels right of its BayRect and 4 above,
// so that its centre stands 4 pixels above the bay's.
constexpr int32_t CarRectWidth = 74;
constexpr int32_t CarRectHeight = 48;
constexpr int32_t CarRectLeft = 11;
constexpr int32_t CarRectTop = -4;
Rect CarRect(int32_t column, int32_t row);
// The bay under a pixel, with truncating division. No range check. Before the
// truncation, pixel (x, y) lies at column (x − 2y + PixelColumnOffset) /
// PixelsPerColumn and row (x + 2y) / PixelsPerRow, the steps' inverse.
constexpr int32_t PixelsPerColumn = ColumnStepX - 2 * ColumnStepY; // 128
constexpr int32_t PixelsPerRow = RowStepX + 2 * RowStepY;          // 64
constexpr int32_t PixelColumnOffset = 1088;
BayPos BayAt(int32_t x, int32_t y);

// How many pixels along its row pixel (u, v) of a BayRect lies inside the
// footprint's nearest edge, negative outside: BayAt finds the bay exactly where
// it is 0 or more. The artwork draws tiles and markers by it.
inline int32_t FootprintEdgeDistance(int32_t u, int32_t v)
{
    const int32_t across = u + 2 * v; // 64 ≤ across < 128 inside
    const int32_t along = u - 2 * v;  // −64 ≤ along < 64 inside
    const int32_t a = std::min(across - ColumnStepX, 2 * ColumnStepX - 1 - across);
    const int32_t b = std::min(along + ColumnStepX, ColumnStepX - 1 - along);
    return std::min(a, b);
}

constexpr Rect StartRect{128, 256, 224, 304};    // BayRect of (5, 11)
constexpr Rect CarStartRect{139, 252, 213, 300}; // CarRect of (5, 11)
