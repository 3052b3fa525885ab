#pragma once
// Shared by the view tests and the compose benchmarks: a stand-in catalogue with
// the real sizes, draw modes and transparency rules, and a dealt-looking play view.
#include "levels/Tables.h"
#include "model/Board.h"
#include "model/BoardView.h"
#include "view/ImageCatalogue.h"
#include "view/LayerScene.h"
#include "view/BoardScene.h"

#include <cstdint>
#include <string>

namespace fixture {

constexpr uint32_t Transparent = Argb(0, 253, 67, 242);

// The bay footprint within its 96 × 48 rectangle, widened by `border` pixels along a row.
inline bool InFootprint(int32_t u, int32_t v, int32_t border)
{
    const int32_t a = u + 2 * v;
    const int32_t b = u - 2 * v;
    return a >= 64 - border && a < 128 + border && b >= -64 - border && b < 64 + border;
}

inline Picture MarkerFrame()
{
    Picture p(96, 48, Argb(0, 255, 255, 0));
    for (int32_t v = 0; v < 48; ++v)
        for (int32_t u = 0; u < 96; ++u) {
            if (!InFootprint(u, v, 0))
                p.At(u, v) = Transparent;
            else if (!InFootprint(u, v, -1))
                p.At(u, v) = Rgb(255, 0, 0);
            else if (!InFootprint(u, v, -14))
                p.At(u, v) = Rgb(255, 255, 0);
        }
    return p;
}

inline Picture BayTile(int32_t count)
{
    Picture p(96, 48, Transparent);
    for (int32_t v = 0; v < 48; ++v)
        for (int32_t u = 0; u < 96; ++u) {
            if (!InFootprint(u, v, 2))
                continue;
            const bool border = !InFootprint(u, v, -1);
            const bool numeral = count > 0 && u >= 40 && u < 40 + 4 * count && v >= 18 && v < 30;
            p.At(u, v) = border ? ((u + v) % 3 ? Rgb(255, 255, 255) : Rgb(120, 120, 120))
                         : numeral ? Rgb(255, 255, 255)
                                   : Rgb(184, 184, 184);
        }
    return p;
}

inline Picture CarPicture(int32_t id)
{
    Picture p(74, 48, Transparent);
    const int32_t rx = 28 + id % 7;
    const int32_t ry = 14 + id % 5;
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 74; ++x) {
            const int64_t dx = x - 37, dy = y - 24;
            if (dx * dx * ry * ry + dy * dy * rx * rx > int64_t(rx) * rx * ry * ry)
                continue;
            const bool window = (x / 6 + y / 5 + id) % 4 == 0;
            p.At(x, y) = window ? Rgb(30, 40, 60) : Rgb(uint32_t(id * 37 % 256), uint32_t(id * 91 % 256), uint32_t(x * 3));
        }
    return p;
}

inline Picture PlaceholderPanel()
{
    Picture p(74, 48, 0, DrawMode::Opaque);
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 74; ++x)
            p.At(x, y) = Rgb(uint32_t(200 + y), uint32_t(x), 0);
    return p;
}

inline Catalogue SyntheticCatalogue()
{
    Catalogue c;
    c[MarkerPicture] = MarkerFrame();
    for (int32_t id = 1; id <= CarCount; ++id)
        c[size_t(id)] = CarPicture(id);
    for (int32_t count = 0; count <= 5; ++count)
        c[size_t(EmptyTilePicture + count)] = BayTile(count);
    c[PlaceholderPicture] = PlaceholderPanel();
    return c;
}

// A 768 × 480 picture with detail in every pixel, so any misplaced copy shows.
inline Picture PatternBackground(int32_t width = 768, int32_t height = 480)
{
    Picture p(width, height, 0, DrawMode::Opaque);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            p.At(x, y) = Rgb(uint32_t(x & 255), uint32_t(y & 255), uint32_t((x ^ y) & 255));
    return p;
}

inline BoardShape ShapeWithBays(int32_t bays)
{
    for (int32_t id = 1; id <= ShapeCount; ++id)
        if (ShapeById(id).CellCount == bays)
            return ShapeById(id);
    return ShapeById(1);
}

// A play view as a deal leaves it: every bay with a car, most with hidden cars,
// the hover marker over one bay and the selection marker over another.
struct DealtView {
    Catalogue Pictures = SyntheticCatalogue();
    Board TheBoard;
    LayerScene Play{768, 480, Rgb(0, 0, 0)};
    LayerScene Preview{74, 48, Rgb(193, 193, 193)};
    BoardScene Scene{Play, Preview, Pictures};

    explicit DealtView(int32_t bays = 72)
    {
        Scene.CreatePreviewLayer();
        Scene.CreatePlayLayers();
        TheBoard.CurrentShape = ShapeWithBays(bays);
        const BoardShape& s = TheBoard.CurrentShape;
        Scene.BeginUpdate();
        Scene.ResetBoardScene(s.ShapeId);
        Play.LoadBackground(PatternBackground());
        LayOutBays(TheBoard, Scene);
        int32_t n = 0;
        for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
            for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column, ++n) {
                TheBoard.HiddenCount(column, row) = n % 7 == 3 ? 0 : 1 + n % 5;
                TheBoard.Cells(column, row).Slot[0] = 1 + n * 13 % CarCount;
                if (TheBoard.HiddenCount(column, row) > 0)
                    Scene.ShowHiddenCount(column, row, TheBoard.HiddenCount(column, row));
            }
        Scene.EndUpdate();
        Scene.Changed();
        Scene.BeginUpdate();
        for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
            for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column)
                Scene.ShowCar(column, row, TheBoard.Cells(column, row).Slot[0]);
        Scene.ResetHoverMarker();
        Scene.MoveHoverMarker(s.MinColumn + 2, s.MinRow + 3);
        Scene.ShowSelectionMarker(s.MinColumn + 1, s.MinRow + 5);
        Scene.EndUpdate();
        Scene.Changed();
    }

    // The bays of the shape in ordinal order, for walking the hover marker.
    std::vector<BayPos> Bays() const
    {
        std::vector<BayPos> bays;
        const BoardShape& s = TheBoard.CurrentShape;
        for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
            for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column)
                bays.push_back(BayPos{column, row});
        return bays;
    }
};

} // namespace fixture
