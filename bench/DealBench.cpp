// BM_InitMap/<level>: one whole deal of every level a game mode can reach.
#include "core/ProgramFolder.h"
#include "core/Random.h"
#include "deal/Generator.h"
#include "levels/GameModes.h"
#include "model/SilentView.h"

#include <cstdio>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

const LevelTable& Levels()
{
    static const std::unique_ptr<LevelTable> table = [] {
        auto t = std::make_unique<LevelTable>();
        if (const GameError error = LoadLevelTable(ProgramFolder(), *t))
            std::fprintf(stderr, "map/level.ini: %s\n", error.Message().c_str());
        return t;
    }();
    return *table;
}

void BM_InitMap(benchmark::State& state)
{
    const int level = static_cast<int>(state.range(0));
    const LevelTable& table = Levels();
    static Board board;
    static CarPool pool;
    SilentView view;
    SetRandomState(12345u + static_cast<uint32_t>(level));
    int64_t attempts = 0, most = 0;
    static DealTrace trace;
    for (auto _ : state) {
        InitMap(board, view, pool, table, level, table.Level(level).ShapeId, &trace);
        attempts += trace.Attempts;
        most = trace.Attempts > most ? trace.Attempts : most;
        benchmark::DoNotOptimize(board.Cells);
    }
    state.counters["attempts"] = benchmark::Counter(static_cast<double>(attempts), benchmark::Counter::kAvgIterations);
    state.counters["most"] = static_cast<double>(most);
}

void ReachableLevels(benchmark::internal::Benchmark* b)
{
    for (int level = 1; level <= LevelCount; ++level)
        if (IsReachableLevel(level))
            b->Arg(level);
}

} // namespace

BENCHMARK(BM_InitMap)->Apply(ReachableLevels)->Unit(benchmark::kMicrosecond);
