#include "view/Projection.h"

Rect BayRect(int32_t column, int32_t row)
{
    const int32_t left = (2 * column + row - 17) * 32;
    const int32_t top = (row - 2 * column + 15) * 16;
    return Rect{left, top, left + BayRectWidth, top + BayRectHeight};
}

Rect CarRect(int32_t column, int32_t row)
{
    const Rect bay = BayRect(column, row);
    const int32_t left = bay.Left + CarRectLeft, top = bay.Top + CarRectTop;
    return Rect{left, top, left + CarRectWidth, top + CarRectHeight};
}

BayPos BayAt(int32_t x, int32_t y)
{
    // 64-bit sums so that no pointer position can overflow; the division truncates toward zero.
    const int64_t across = static_cast<int64_t>(x) - 2 * static_cast<int64_t>(y) + PixelColumnOffset;
    const int64_t down = static_cast<int64_t>(x) + 2 * static_cast<int64_t>(y);
    return BayPos{static_cast<int32_t>(across / PixelsPerColumn), static_cast<int32_t>(down / PixelsPerRow)};
}
