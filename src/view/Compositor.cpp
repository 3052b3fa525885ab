#include "view/Compositor.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

PreparedPicture PreparePicture(const Picture& picture)
{
    PreparedPicture p;
    if (picture.Empty())
        return p;
    p.Width = picture.Width;
    p.Height = picture.Height;
    p.Stride = (picture.Width + 15) / 16 * 16;
    p.Pixels.assign(static_cast<size_t>(p.Stride) * static_cast<size_t>(p.Height), 0);
    p.RowRuns.reserve(static_cast<size_t>(p.Height) + 1);
    const bool opaque = picture.Mode == DrawMode::Opaque;
    for (int32_t y = 0; y < p.Height; ++y) {
        p.RowRuns.push_back(static_cast<uint32_t>(p.Runs.size()));
        uint32_t* row = &p.Pixels[static_cast<size_t>(y) * static_cast<size_t>(p.Stride)];
        int32_t runStart = -1;
        for (int32_t x = 0; x < p.Width; ++x) {
            const uint32_t pixel = picture.At(x, y);
            const uint32_t alpha = pixel >> 24;
            const bool drawn = opaque || alpha == 255;
            if (!opaque && alpha != 0 && alpha != 255)
                p.AllOrNothing = false;
            if (drawn) {
                row[x] = Opaque(pixel);
                if (runStart < 0)
                    runStart = x;
            } else if (runStart >= 0) {
                p.Runs.push_back(OpaqueRun{runStart, x - runStart});
                runStart = -1;
            }
        }
        if (runStart >= 0)
            p.Runs.push_back(OpaqueRun{runStart, p.Width - runStart});
    }
    p.RowRuns.push_back(static_cast<uint32_t>(p.Runs.size()));
    p.PackedRows.reserve(static_cast<size_t>(p.Height) + 1);
    for (int32_t y = 0; y < p.Height; ++y) {
        const uint32_t* row = &p.Pixels[static_cast<size_t>(y) * static_cast<size_t>(p.Stride)];
        const uint32_t runsFrom = p.RowRuns[static_cast<size_t>(y)], runsTo = p.RowRuns[static_cast<size_t>(y) + 1];
        p.PackedRows.push_back(PreparedPicture::PackedRow{0, static_cast<uint32_t>(p.PackedMasks.size())});
        if (runsFrom < runsTo) {
            const int32_t start = p.Runs[runsFrom].Start;
            const int32_t end = p.Runs[runsTo - 1].Start + p.Runs[runsTo - 1].Length;
            p.PackedRows.back().Start = start;
            const int32_t count = (end - start + 15) / 16;
            p.PackedReach = std::max(p.PackedReach, start + count * 16);
            for (int32_t j = 0; j < count; ++j) {
                uint32_t mask = 0;
                for (int32_t lane = 0; lane < 16; ++lane) {
                    const int32_t x = start + j * 16 + lane;
                    const bool drawn = x < end && (row[x] >> 24) != 0;
                    p.Packed.push_back(drawn ? row[x] : 0);
                    mask |= drawn ? 1u << lane : 0u;
                }
                p.PackedMasks.push_back(static_cast<uint16_t>(mask));
            }
        }
    }
    p.PackedRows.push_back(PreparedPicture::PackedRow{0, static_cast<uint32_t>(p.PackedMasks.size())});
    p.PackedSpans.reserve(static_cast<size_t>(p.Height));
    for (int32_t y = 0; y < p.Height; ++y) {
        const PreparedPicture::PackedRow& r = p.PackedRows[static_cast<size_t>(y)];
        p.PackedSpans.push_back(PreparedPicture::PackedSpan{
            r.Start * 4, static_cast<int32_t>(p.PackedRows[static_cast<size_t>(y) + 1].Offset - r.Offset) * 64});
    }
    return p;
}

// Source over on an opaque destination, rounded; alpha 0 and 255 give the
// destination and the source exactly.
static uint32_t BlendOver(uint32_t source, uint32_t destination)
{
    const uint32_t a = source >> 24;
    if (a == 255)
        return source;
    if (a == 0)
        return destination;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t s = (source >> shift) & 0xFF;
        const uint32_t d = (destination >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

void DrawPlain(Picture& frame, const Picture& picture, DrawMode mode, const Rect& location, const Rect& clip)
{
    const Rect area = Intersect(location, clip);
    if (IsEmpty(area) || picture.Empty())
        return;
    const int64_t lw = location.Width();
    const int64_t lh = location.Height();
    for (int32_t y = area.Top; y < area.Bottom; ++y) {
        const int32_t sy = static_cast<int32_t>((y - location.Top) * static_cast<int64_t>(picture.Height) / lh);
        for (int32_t x = area.Left; x < area.Right; ++x) {
            const int32_t sx = static_cast<int32_t>((x - location.Left) * static_cast<int64_t>(picture.Width) / lw);
            const uint32_t source = picture.At(sx, sy);
            uint32_t& target = frame.At(x, y);
            target = mode == DrawMode::Opaque ? Opaque(source) : BlendOver(source, target);
        }
    }
}

void FillBackground(Picture& frame, const Picture& opaqueBackground, uint32_t viewColour, const Rect& clip)
{
    const uint32_t colour = Opaque(viewColour);
    if (clip.Left == 0 && clip.Right == frame.Width && opaqueBackground.Width == frame.Width &&
        clip.Bottom <= opaqueBackground.Height) {
        // Whole rows of a background as wide as the view: one copy.
        std::memcpy(&frame.At(0, clip.Top),
                    opaqueBackground.Pixels.data() + static_cast<size_t>(clip.Top) * static_cast<size_t>(frame.Width),
                    static_cast<size_t>(clip.Height()) * static_cast<size_t>(frame.Width) * 4);
        return;
    }
    const int32_t backRight = std::min(clip.Right, std::max(clip.Left, opaqueBackground.Width));
    for (int32_t y = clip.Top; y < clip.Bottom; ++y) {
        uint32_t* row = &frame.At(0, y);
        int32_t x = clip.Left;
        if (y < opaqueBackground.Height && backRight > x) {
            std::memcpy(row + x, opaqueBackground.Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(opaqueBackground.Width) + x, static_cast<size_t>(backRight - x) * 4);
            x = backRight;
        }
        std::fill(row + x, row + clip.Right, colour);
    }
}

namespace {

// Draws rows sy0 … sy1 − 1 and columns sx0 … sx1 − 1 of the picture (its own
// coordinates) with its origin at (left, top) of the frame.
using DrawFn = void (*)(Picture& frame, const PreparedPicture& p, int32_t left, int32_t top, int32_t sx0, int32_t sx1,
                        int32_t sy0, int32_t sy1);

// The address of frame pixel x of a row. x may lie left of the row for lanes
// that are masked off; the masked stores never touch them.
inline uint32_t* PixelAddress(uint32_t* row, int32_t x)
{
    return reinterpret_cast<uint32_t*>(reinterpret_cast<uintptr_t>(row) + static_cast<intptr_t>(x) * 4);
}

// Whether the packed rows of a picture drawn uncut at `left` stay inside the
// frame's rows, so whole chunks may be read and written back.
inline bool ChunksInside(const Picture& frame, const PreparedPicture& p, int32_t left, int32_t sx0, int32_t sx1)
{
    return sx0 == 0 && sx1 == p.Width && left >= 0 && left + p.PackedReach <= frame.Width;
}

void DrawScalar(Picture& frame, const PreparedPicture& p, int32_t left, int32_t top, int32_t sx0, int32_t sx1,
                int32_t sy0, int32_t sy1)
{
    for (int32_t sy = sy0; sy < sy1; ++sy) {
        uint32_t* row = &frame.At(0, top + sy);
        const uint32_t* src = &p.Pixels[static_cast<size_t>(sy) * static_cast<size_t>(p.Stride)];
        for (uint32_t r = p.RowRuns[sy]; r < p.RowRuns[sy + 1]; ++r) {
            const int32_t a = std::max(p.Runs[r].Start, sx0);
            const int32_t b = std::min(p.Runs[r].Start + p.Runs[r].Length, sx1);
            if (a < b)
                std::memcpy(row + left + a, src + a, static_cast<size_t>(b - a) * 4);
        }
    }
}

// Copies n pixels of one opaque run with whole-register stores only: the last
// store of each size ends exactly at the run's end, overlapping the one before,
// so no lane ever leaves the run and no masked store is needed (on many
// processors an AVX2 masked store is many times slower than a plain one).
__attribute__((target("avx2"))) inline void CopyRunAvx2(uint32_t* d, const uint32_t* s, int32_t n)
{
    if (n >= 8) {
        for (int32_t i = 0; i + 8 < n; i += 8)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + n - 8), _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + n - 8)));
    } else if (n >= 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + n - 4), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + n - 4)));
    } else if (n >= 2) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(d), _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(d + n - 2), _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + n - 2)));
    } else if (n == 1) {
        d[0] = s[0];
    }
}

__attribute__((target("avx2"))) void DrawAvx2(Picture& frame, const PreparedPicture& p, int32_t left, int32_t top,
                                              int32_t sx0, int32_t sx1, int32_t sy0, int32_t sy1)
{
    if (ChunksInside(frame, p, left, sx0, sx1)) {
        // Whole packed chunks, blended on the sign bit, which is the top bit of
        // alpha: drawn lanes (alpha 255) take the source, skipped ones (alpha 0)
        // keep the frame. Plain loads and stores only, and no branch on the runs.
        const size_t frameWidth = static_cast<size_t>(frame.Width);
        uint32_t* row = &frame.At(0, top + sy0);
        const PreparedPicture::PackedRow* rows = p.PackedRows.data();
        const float* packed = reinterpret_cast<const float*>(p.Packed.data());
        for (int32_t sy = sy0; sy < sy1; ++sy, row += frameWidth) {
            float* d = reinterpret_cast<float*>(row + left + rows[sy].Start);
            const uint32_t from = rows[sy].Offset, to = rows[sy + 1].Offset;
            for (uint32_t j = from * 2; j < to * 2; ++j, d += 8) {
                const __m256 source = _mm256_load_ps(packed + j * 8);
                _mm256_storeu_ps(d, _mm256_blendv_ps(_mm256_loadu_ps(d), source, source));
            }
        }
        return;
    }
    for (int32_t sy = sy0; sy < sy1; ++sy) {
        uint32_t* row = &frame.At(0, top + sy);
        const uint32_t* src = &p.Pixels[static_cast<size_t>(sy) * static_cast<size_t>(p.Stride)];
        for (uint32_t r = p.RowRuns[sy]; r < p.RowRuns[sy + 1]; ++r) {
            const int32_t a = std::max(p.Runs[r].Start, sx0);
            const int32_t b = std::min(p.Runs[r].Start + p.Runs[r].Length, sx1);
            if (a < b)
                CopyRunAvx2(PixelAddress(row, left + a), src + a, b - a);
        }
    }
}

__attribute__((target("avx512f"))) void DrawAvx512(Picture& frame, const PreparedPicture& p, int32_t left, int32_t top,
                                                   int32_t sx0, int32_t sx1, int32_t sy0, int32_t sy1)
{
    const size_t frameWidth = static_cast<size_t>(frame.Width);
    uint32_t* row = &frame.At(0, top + sy0);
    const uint32_t* packed = p.Packed.data();
    const uint16_t* masks = p.PackedMasks.data();
    // Every store is a masked one, full chunks included: branching on the mask along
    // a footprint's edge mispredicts, and a masked store costs what a plain one does.
    if (sx0 == 0 && sx1 == p.Width) {
        // Not cut at the sides (the usual case): the mask is the chunk's alpha,
        // 255 where drawn and 0 where skipped, so the loop is a load, a test and
        // a store, with one counter for source and destination.
        // The row walk is most of the work for rows of two or three chunks, so it
        // takes one load per row and steps through Packed without looking it up.
        const PreparedPicture::PackedSpan* spans = p.PackedSpans.data();
        const __m512i alpha = _mm512_set1_epi32(static_cast<int>(0xFF000000u));
        const char* s = reinterpret_cast<const char*>(packed + static_cast<size_t>(p.PackedRows[static_cast<size_t>(sy0)].Offset) * 16);
        uintptr_t edge = reinterpret_cast<uintptr_t>(PixelAddress(row, left));
        const uintptr_t rowBytes = frameWidth * 4;
        for (int32_t sy = sy0; sy < sy1; ++sy, edge += rowBytes) {
            const PreparedPicture::PackedSpan span = spans[sy];
            char* d = reinterpret_cast<char*>(edge + static_cast<uintptr_t>(static_cast<intptr_t>(span.StartBytes)));
            for (ptrdiff_t k = 0; k < span.Bytes; k += 64) {
                const __m512i v = _mm512_load_si512(s + k);
                _mm512_mask_storeu_epi32(d + k, _mm512_test_epi32_mask(v, alpha), v);
            }
            s += span.Bytes;
        }
        return;
    }
    for (int32_t sy = sy0; sy < sy1; ++sy, row += frameWidth) {
        const int32_t start = p.PackedRows[static_cast<size_t>(sy)].Start;
        const uint32_t from = p.PackedRows[static_cast<size_t>(sy)].Offset;
        const int32_t count = static_cast<int32_t>(p.PackedRows[static_cast<size_t>(sy) + 1].Offset - from);
        // Only the chunks that reach into sx0 … sx1 − 1; the first and the last are trimmed.
        const int32_t a = sx0 - start, b = sx1 - start;
        const int32_t first = a > 0 ? a / 16 : 0;
        const int32_t end = b > 0 ? std::min(count, (b + 15) / 16) : 0;
        if (first >= end)
            continue;
        const uint32_t firstClip = a > 0 ? 0xFFFFu << (a - first * 16) : 0xFFFFu;
        const uint32_t lastClip = b < end * 16 ? 0xFFFFu >> (end * 16 - b) : 0xFFFFu;
        uint32_t* d = PixelAddress(row, left + start + first * 16);
        for (int32_t j = first; j < end; ++j, d += 16) {
            uint32_t m = masks[from + static_cast<uint32_t>(j)];
            m &= j == first ? firstClip : 0xFFFFu;
            m &= j == end - 1 ? lastClip : 0xFFFFu;
            _mm512_mask_storeu_epi32(d, static_cast<__mmask16>(m), _mm512_load_si512(packed + (from + static_cast<uint32_t>(j)) * 16));
        }
    }
}

bool Supported(ComposeKernel kernel)
{
    switch (kernel) {
    case ComposeKernel::Scalar:
        return true;
    case ComposeKernel::Avx2:
        return __builtin_cpu_supports("avx2");
    case ComposeKernel::Avx512:
        return __builtin_cpu_supports("avx512f");
    }
    return false;
}

ComposeKernel Fastest()
{
    return Supported(ComposeKernel::Avx512) ? ComposeKernel::Avx512
           : Supported(ComposeKernel::Avx2) ? ComposeKernel::Avx2
                                            : ComposeKernel::Scalar;
}

ComposeKernel& Current()
{
    static ComposeKernel kernel = Fastest();
    return kernel;
}

DrawFn KernelFunction(ComposeKernel kernel)
{
    switch (kernel) {
    case ComposeKernel::Avx512:
        return DrawAvx512;
    case ComposeKernel::Avx2:
        return DrawAvx2;
    case ComposeKernel::Scalar:
        break;
    }
    return DrawScalar;
}

DrawFn& CurrentFunction()
{
    static DrawFn fn = KernelFunction(Current());
    return fn;
}

} // namespace

std::vector<ComposeKernel> AvailableKernels()
{
    std::vector<ComposeKernel> kernels;
    for (ComposeKernel k : {ComposeKernel::Scalar, ComposeKernel::Avx2, ComposeKernel::Avx512})
        if (Supported(k))
            kernels.push_back(k);
    return kernels;
}

ComposeKernel ActiveKernel() { return Current(); }

void ChooseKernel(ComposeKernel kernel)
{
    if (!Supported(kernel))
        return;
    Current() = kernel;
    CurrentFunction() = KernelFunction(kernel);
}

void DrawPrepared(Picture& frame, const PreparedPicture& picture, int32_t left, int32_t top, const Rect& clip)
{
    const Rect area = Intersect(Rect{left, top, left + picture.Width, top + picture.Height}, clip);
    if (IsEmpty(area))
        return;
    CurrentFunction()(frame, picture, left, top, area.Left - left, area.Right - left, area.Top - top, area.Bottom - top);
}
