// BM_SimulatedGame/<player>/<level>: one whole game of a shipped level by each
// simulated player of the level tool, and the solver's clearing, over the same
// deals. Player 0 casual, 1 careful, 2 skilled without items, 3 skilled with both
// AUTO-PREVIEWs and the undo, 4 the solver. Read the times as ratios to player 0.
#include "core/ProgramFolder.h"
#include "core/Random.h"
#include "deal/Generator.h"
#include "model/SilentView.h"
#include "tools/levels/CasualPlayer.h"
#include "tools/levels/LevelStats.h"
#include "tools/levels/SkilledPlayer.h"
#include "tools/levels/Solver.h"

#include <cstdio>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int DealsInTurn = 16;

void BM_SimulatedGame(benchmark::State& state)
{
    const int player = static_cast<int>(state.range(0)), level = static_cast<int>(state.range(1));
    static LevelTable table;
    static bool loaded = false;
    if (!loaded) {
        if (const GameError error = LoadLevelTable(ProgramFolder(), table))
            std::fprintf(stderr, "map/level.ini: %s\n", error.Message().c_str());
        loaded = true;
    }
    const LevelRecord& record = table.Level(level);
    SilentView view;
    CarPool pool;
    auto dealt = std::make_unique<Board[]>(DealsInTurn);
    for (int k = 0; k < DealsInTurn; ++k) {
        SetRandomState(DealSeed(level, k));
        InitMap(dealt[k], view, pool, table, level, record.ShapeId);
    }
    auto board = std::make_unique<Board>();
    auto search = std::make_unique<SearchBoard>();
    Solver solver(SolverBudget);
    const DealOrder order(record);
    SkilledSettings settings;
    settings.Items.AutoPreviewEmpty = settings.Items.AutoPreviewOccupied = settings.Items.Undo = player == 3;
    int64_t games = 0, won = 0;
    for (auto _ : state) {
        const int k = static_cast<int>(games % DealsInTurn);
        *board = dealt[k];
        bool win = false;
        if (player <= 1) {
            PlayerRandom random(static_cast<uint64_t>(games));
            win = PlayOut(*board, view, player == 0 ? PlayerKind::Casual : PlayerKind::Careful, random).Won;
        } else if (player <= 3) {
            win = PlayOutSkilled(*board, record, settings, static_cast<uint64_t>(games)).Won;
        } else {
            ReadBoard(*board, order, *search);
            win = solver.Solve(*search) == SolveOutcome::Cleared;
        }
        won += win;
        ++games;
    }
    state.counters["won"] = benchmark::Counter(static_cast<double>(won), benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(BM_SimulatedGame)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {10, 40, 80}})
    ->Unit(benchmark::kMillisecond);
