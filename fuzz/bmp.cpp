// map/mapN.bmp as the play view meets it: the bytes are the background file of
// the shape just dealt, read as the window reads it and shown behind the board
// in the deal's bracket (or reported, the board over black); the frame composed
// over a picture that loads must equal the plain reference compose.
#include "FuzzFiles.h"

#include "core/Random.h"
#include "deal/Generator.h"
#include "view/LayerScene.h"
#include "view/PictureFiles.h"
#include "view/BoardScene.h"

#include "levels/LevelBuilder.h"
#include "view/SceneFixtures.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int32_t TheLevel = 1;
constexpr int32_t TheShape = 9; // 72 bays over the whole view

struct Game {
    Catalogue Pictures = fixture::SyntheticCatalogue();
    std::unique_ptr<Board> TheBoard = std::make_unique<Board>();
    std::unique_ptr<LevelTable> Table = std::make_unique<LevelTable>();
    CarPool Pool;
    LayerScene Play{768, 480, Rgb(0, 0, 0)};
    LayerScene Preview{74, 48, Rgb(193, 193, 193)};
    BoardScene Scene{Play, Preview, Pictures};

    Game()
    {
        Table->Level(TheLevel) = Level(TheShape, 9, {105, 110, 10, 9, 8, 7, 6, 5});
        Scene.CreatePreviewLayer();
        Scene.CreatePlayLayers();
    }
};

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

void ExpectFrameCurrent(const LayerScene& play)
{
    Picture reference;
    play.ComposeFull(reference);
    if (play.Frame().Pixels != reference.Pixels)
        Fail("the composed frame differs from the plain compose");
    for (uint32_t pixel : play.Frame().Pixels)
        if (pixel >> 24 != 255)
            Fail("a frame pixel is not opaque");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Game game;
    const std::string path = fuzz::ProcessFolder() + "map/map" + std::to_string(TheShape) + ".bmp";
    fuzz::WriteFile(path, data, size);

    SetRandomState(7);
    game.Scene.BeginUpdate();
    InitMap(*game.TheBoard, game.Scene, game.Pool, *game.Table, TheLevel, TheShape);
    PictureRead read = ReadBitmapFile(path);
    const GameError error = read.Error;
    game.Scene.ShowBackground(std::move(read.Image));
    game.Scene.EndUpdate();
    game.Scene.Changed();
    const Picture& back = game.Play.Background();
    if (error) {
        if (error.Message() != "Bitmap image is not valid")
            Fail("unexpected error: " + error.Message());
        if (back.Width != 768 || back.Height != 480)
            Fail("a refused bitmap leaves a background that is not the black view");
        return 0;
    }
    if (back.Empty())
        Fail("a bitmap that loads gives an empty background");

    // A hover and a selection change only part of the frame: the repaint takes the
    // damaged path over the new background, and the whole frame must still equal
    // the plain compose (which is slow, so only pictures that load are compared).
    const BoardShape& s = game.TheBoard->CurrentShape;
    game.Scene.BeginUpdate();
    game.Scene.MoveHoverMarker(s.MinColumn + static_cast<int32_t>(size % 6), s.MinRow + static_cast<int32_t>(size % 12));
    game.Scene.ShowSelectionMarker(s.MaxColumn, s.MaxRow);
    game.Scene.HideCar(s.MinColumn, s.MinRow);
    game.Scene.EndUpdate();
    game.Scene.Changed();
    ExpectFrameCurrent(game.Play);
    return 0;
}
