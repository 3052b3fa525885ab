// The handlers of play on a real deal with the built-in pictures, each with the
// frame brought up to date: a pair taken off (two clicks), the undo of it, and
// pointer moves across the board. Compare with BM_ComposePlayViewQPainter.
#include "core/ProgramFolder.h"
#include "core/Random.h"
#include "deal/Generator.h"
#include "levels/GameModes.h"
#include "model/PlayRules.h"
#include "view/ImageCatalogue.h"
#include "view/LayerScene.h"
#include "view/PictureFiles.h"
#include "view/BoardScene.h"

#include "deal/DealOrder.h"
#include "view/SceneFixtures.h"

#include <cstdio>
#include <benchmark/benchmark.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

struct DealtGame {
    Board TheBoard;
    CarPool Pool;
    LayerScene Play{768, 480, Rgb(0, 0, 0)};
    LayerScene Preview{74, 48, Rgb(0xC1, 0xC1, 0xC1)};
    BoardScene Scene{Play, Preview, BuiltInCatalogue()};
    LevelTable Table;
    BayPos A, B; // a free pair of the deal

    DealtGame()
    {
        if (const GameError error = LoadLevelTable(ProgramFolder(), Table))
            std::fprintf(stderr, "map/level.ini: %s\n", error.Message().c_str());
        Scene.CreatePreviewLayer();
        Scene.CreatePlayLayers();
        // The reachable level with the most bays, over its own background.
        int level = 1;
        for (int n = 1; n <= LevelCount; ++n)
            if (IsReachableLevel(n) && ShapeById(Table.Level(n).ShapeId).CellCount > ShapeById(Table.Level(level).ShapeId).CellCount)
                level = n;
        const int32_t shapeId = Table.Level(level).ShapeId;
        SetRandomState(2024u);
        Scene.BeginUpdate();
        InitMap(TheBoard, Scene, Pool, Table, level, shapeId);
        Scene.ShowBackground(ReadBitmapFile(ProgramFolder() + "map/map" + std::to_string(shapeId) + ".bmp").Image);
        Scene.EndUpdate();
        Scene.Changed();
        TheBoard.InputEnabled = true;
        FindFreePair(TheBoard, A, B);
    }

    // The two clicks of a pair; false when they did not take it off.
    bool TakePair()
    {
        ClickBay(TheBoard, Scene, A);
        return ClickBay(TheBoard, Scene, B).Outcome == ClickOutcome::PairRemoved;
    }
    void Undo()
    {
        OptionFlags options;
        options.Undo = true;
        GameKeyUp(TheBoard, Scene, KeyBackspace, true, options);
    }
};

DealtGame& Game()
{
    static const std::unique_ptr<DealtGame> game = std::make_unique<DealtGame>();
    return *game;
}

void BM_Click(benchmark::State& state)
{
    DealtGame& g = Game();
    int64_t pixels = 0;
    for (auto _ : state) {
        if (!g.TakePair()) {
            state.SkipWithError("the pair was not taken off");
            break;
        }
        pixels += g.Play.ComposedPixels();
        state.PauseTiming();
        g.Undo();
        state.ResumeTiming();
    }
    state.counters["pixels"] = benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kAvgIterations);
}

void BM_Undo(benchmark::State& state)
{
    DealtGame& g = Game();
    const int32_t cars = g.TheBoard.CarsLeft;
    int64_t pixels = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const bool taken = g.TakePair();
        state.ResumeTiming();
        g.Undo();
        pixels += g.Play.ComposedPixels();
        if (!taken || g.TheBoard.CarsLeft != cars) {
            state.SkipWithError("the undo did not bring the pair back");
            break;
        }
    }
    state.counters["pixels"] = benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kAvgIterations);
}

// Moves that jump seven bays at a time, so both marker places need repainting;
// with the auto previews, the preview box is brought up to date as well.
void BM_PointerMove(benchmark::State& state, bool autoPreview)
{
    DealtGame& g = Game();
    OptionFlags options;
    options.AutoPreviewEmpty = options.AutoPreviewOccupied = autoPreview;
    std::vector<BayPos> bays;
    const BoardShape& s = g.TheBoard.CurrentShape;
    for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
        for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column)
            if (InsideShape(g.TheBoard, column, row))
                bays.push_back({column, row});
    size_t next = 0;
    int64_t pixels = 0;
    for (auto _ : state) {
        PointerMoveBay(g.TheBoard, g.Scene, bays[next], options);
        next = (next + 7) % bays.size();
        pixels += g.Play.ComposedPixels();
        benchmark::DoNotOptimize(g.Play.Frame().Pixels.data());
    }
    state.counters["pixels"] = benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(BM_Click)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Undo)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PointerMove, plain, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PointerMove, autopreview, true)->Unit(benchmark::kMicrosecond);
