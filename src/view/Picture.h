#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Blend: source over with all-or-nothing alpha. Opaque: copied as it is.
enum class DrawMode { Blend, Opaque };

// 32-bit pixels 0xAARRGGBB, rows top to bottom. In memory each pixel is the
// bytes B, G, R, A (little-endian), the layout of QImage::Format_ARGB32, so a
// frame can be wrapped by a QImage without a copy.
struct Picture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels;
    DrawMode Mode = DrawMode::Blend;

    Picture() = default;
    Picture(int32_t width, int32_t height, uint32_t fill = 0, DrawMode mode = DrawMode::Blend)
        : Width(width), Height(height), Pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill), Mode(mode)
    {
    }

    bool Empty() const { return Width <= 0 || Height <= 0; }
    uint32_t& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)]; }
    uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)]; }
};

constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return Argb(255, r, g, b); }
