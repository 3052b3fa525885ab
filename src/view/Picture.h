#pragma once
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

// Pixels start on a cache line, so each row of a picture whose width is a multiple
// of 16 does too and the compositor's 64-byte loads and stores touch one line each.
template <class T>
struct CacheLineAllocator {
    using value_type = T;
    static constexpr std::align_val_t Alignment{64};
    CacheLineAllocator() = default;
    template <class U>
    CacheLineAllocator(const CacheLineAllocator<U>&) noexcept {}
    T* allocate(size_t n) { return static_cast<T*>(::operator new(n * sizeof(T), Alignment)); }
    void deallocate(T* p, size_t) noexcept { ::operator delete(p, Alignment); }
    template <class U>
    bool operator==(const CacheLineAllocator<U>&) const noexcept { return true; }
    template <class U>
    bool operator!=(const CacheLineAllocator<U>&) const noexcept { return false; }
};

using PixelVector = std::vector<uint32_t, CacheLineAllocator<uint32_t>>;

// Blend: source over with all-or-nothing alpha. Opaque: copied as it is.
enum class DrawMode { Blend, Opaque };

// 32-bit pixels 0xAARRGGBB, rows top to bottom. In memory each pixel is the
// bytes B, G, R, A (little-endian), the layout of QImage::Format_ARGB32, so a
// frame can be wrapped by a QImage without a copy.
struct Picture {
    int32_t Width = 0;
    int32_t Height = 0;
    PixelVector Pixels;
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
