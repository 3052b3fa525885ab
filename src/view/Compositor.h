#pragma once
#include "view/Picture.h"
#include "view/Rect.h"

#include <cstdint>
#include <vector>

// The pixel work behind LayerScene. Plain C++; the row kernels use AVX-512 or
// AVX2 when the processor has them and a scalar copy of opaque runs otherwise.

struct OpaqueRun {
    int32_t Start;
    int32_t Length;
};

// A picture made ready for fast drawing. Catalogue alpha is all-or-nothing, so
// a blend draw is a series of copies: each row keeps its opaque runs, and for
// each 16-pixel chunk the mask of the pixels that are drawn. Rows are padded
// to whole chunks with transparent pixels, so vector loads stay inside.
struct PreparedPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    // False when a blend picture has alpha other than 0 and 255; such a picture
    // is drawn pixel by pixel with real source-over.
    bool AllOrNothing = true;
    int32_t Stride = 0; // pixels per padded row, a multiple of 16
    PixelVector Pixels; // drawn pixels carry alpha 255, skipped ones 0; rows start on a cache line
    std::vector<OpaqueRun> Runs;
    std::vector<uint32_t> RowRuns; // Height + 1 offsets into Runs
    // The same rows packed for the AVX-512 kernel: each row's chunks begin at its
    // first drawn pixel and stop after its last, so a row of a tile or a car takes
    // as few chunks as its width allows and the loads fetch nothing of the corners.
    struct PackedRow {
        int32_t Start;   // the picture column of the row's first lane
        uint32_t Offset; // the row's first chunk in Packed; the next row's ends it
    };
    PixelVector Packed;
    std::vector<uint16_t> PackedMasks; // one per chunk of Packed
    std::vector<PackedRow> PackedRows; // Height + 1 entries
    // The same rows as the AVX-512 kernel walks them when a picture is drawn uncut:
    // the bytes from the picture's left edge to the row's first lane, and the bytes
    // of its chunks (which follow the previous row's in Packed).
    struct PackedSpan {
        int32_t StartBytes;
        int32_t Bytes;
    };
    std::vector<PackedSpan> PackedSpans; // Height entries
    // How far right of the picture's left edge the chunks of any row reach: the
    // AVX2 kernel rewrites whole chunks and needs them inside the frame.
    int32_t PackedReach = 0;
};

PreparedPicture PreparePicture(const Picture& picture);

enum class ComposeKernel { Scalar, Avx2, Avx512 };
// The kernels this processor can run, slowest first.
std::vector<ComposeKernel> AvailableKernels();
// The kernel in use: the fastest available unless one was chosen.
ComposeKernel ActiveKernel();
// For tests and benchmarks; a kernel the processor lacks is ignored.
void ChooseKernel(ComposeKernel kernel);

inline uint32_t Opaque(uint32_t pixel) { return pixel | 0xFF000000u; }

// Draws one picture into `location` of the frame, limited to `clip` (which lies
// inside the frame). Any location size; other sizes than the picture's are
// sampled nearest-neighbour. This is the plain path every other path must match.
void DrawPlain(Picture& frame, const Picture& picture, DrawMode mode, const Rect& location, const Rect& clip);

// Draws a prepared picture at its own size with its top-left corner at
// (left, top), limited to `clip`.
void DrawPrepared(Picture& frame, const PreparedPicture& picture, int32_t left, int32_t top, const Rect& clip);

// Rows of the background within `clip`: its pixels made opaque where it lies,
// the view colour elsewhere. `opaqueBackground` already has alpha 255.
void FillBackground(Picture& frame, const Picture& opaqueBackground, uint32_t viewColour, const Rect& clip);

inline Rect Intersect(const Rect& a, const Rect& b)
{
    Rect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
           a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return Rect{};
    return r;
}
inline bool IsEmpty(const Rect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }
