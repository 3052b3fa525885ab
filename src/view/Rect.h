#pragma once
#include <cstdint>

// Play-view rectangles: right and bottom exclusive.
struct Rect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool operator==(const Rect& o) const { return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom; }
};
