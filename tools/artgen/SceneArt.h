#pragma once
#include "view/Projection.h"

#include <QImage>

#include <cstdint>
#include <vector>

constexpr int ViewWidth = PlayViewWidth;
constexpr int ViewHeight = PlayViewHeight;

// A small random source of our own, so every run draws the same pictures.
class ArtRandom {
public:
    explicit ArtRandom(uint32_t seed) : state(seed * 2654435761u + 12345u) {}
    uint32_t Next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
    double Unit() { return (Next() & 0xffff) / 65536.0; }

private:
    uint32_t state;
};

// The 768 × 480 play-view background of board shape 1 … 10: asphalt under the
// shape's bays, kerbs and paint around them, then greenery and buildings.
QImage MapBackground(int shapeId, const std::vector<QImage>& catalogue);

// The 769 × 481 page background: a dim car park at night.
QImage PageBackground(const std::vector<QImage>& catalogue);

// Review pictures: all 90 entries on one sheet, and a dealt board of a shape
// composed the way the play view composes it.
QImage ContactSheet(const std::vector<QImage>& catalogue);
QImage BoardReview(int shapeId, const std::vector<QImage>& catalogue);
