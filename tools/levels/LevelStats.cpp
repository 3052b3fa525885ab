#include "tools/levels/LevelStats.h"

#include "core/Random.h"
#include "deal/Generator.h"
#include "levels/CheckLevel.h"
#include "model/SilentView.h"
#include "tools/levels/CasualPlayer.h"
#include "tools/levels/PlayerRandom.h"
#include "tools/levels/SkilledPlayer.h"
#include "tools/levels/Solver.h"

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// The generator draws from the game's one random source: one deal at a time.
std::mutex DealTurn;

// What every deal of one level needs, made once. Boards are large: kept off the stack.
struct Workspace {
    explicit Workspace(const LevelRecord& record) : Order(record) {}
    std::unique_ptr<Board> Played = std::make_unique<Board>();
    std::unique_ptr<SearchBoard> Search = std::make_unique<SearchBoard>();
    Solver Clearing{SolverBudget};
    const DealOrder Order;
    SilentView View;
};

// Plays the board dealt with `seed` once as every player, each with its own
// seeded choices, and counts the wins.
void PlayDeal(const Board& dealt, const LevelRecord& record, uint32_t seed, const std::vector<OptionFlags>& skilled,
              Workspace& t, LevelWins& wins)
{
    for (PlayerKind player : {PlayerKind::Casual, PlayerKind::Careful}) {
        *t.Played = dealt;
        PlayerRandom random(MixBits((static_cast<uint64_t>(seed) << 1) | (player == PlayerKind::Careful ? 1u : 0u)));
        if (PlayOut(*t.Played, t.View, player, random).Won)
            ++(player == PlayerKind::Casual ? wins.Casual : wins.Careful);
    }
    for (size_t i = 0; i < skilled.size(); ++i) {
        *t.Played = dealt;
        SkilledSettings settings;
        settings.Items = skilled[i];
        // Seeded by what the items let it see, so a PREVIEW and its AUTO-PREVIEW,
        // which show the same cars, play the same game.
        const OptionFlags& o = skilled[i];
        const uint64_t sight = (o.Undo ? 1u : 0u) | (o.PreviewEmpty || o.AutoPreviewEmpty ? 2u : 0u) |
                               (o.PreviewOccupied || o.AutoPreviewOccupied ? 4u : 0u);
        if (PlayOutSkilled(*t.Played, record, settings, MixBits((static_cast<uint64_t>(seed) << 8) | (8u + sight))).Won)
            ++wins.Skilled[i];
    }
    ReadBoard(dealt, t.Order, *t.Search);
    wins.Cleared += t.Clearing.Solve(*t.Search) == SolveOutcome::Cleared;
}

} // namespace

uint32_t DealSeed(int32_t level, int32_t k, uint32_t base)
{
    const uint64_t key = (static_cast<uint64_t>(base) << 32) ^ (static_cast<uint64_t>(level) << 20) ^
                         static_cast<uint64_t>(k);
    return static_cast<uint32_t>(MixBits(key + 0x9E3779B97F4A7C15ull) >> 32);
}

LevelFigures MeasureLevel(const LevelTable& table, int32_t level, int32_t deals, uint32_t base,
                          const std::vector<OptionFlags>& skilled)
{
    LevelFigures figures;
    const LevelRecord& record = table.Level(level);
    figures.Level = level;
    figures.ShapeId = record.ShapeId;
    figures.PoolTypeId = record.PoolTypeId;
    const std::vector<std::string> problems = CheckLevel(record);
    if (!problems.empty()) {
        figures.Problem = problems.front();
        return figures;
    }

    Workspace t(record);
    auto dealt = std::make_unique<Board>();
    CarPool pool;
    LevelWins wins;
    wins.Skilled.resize(skilled.size());
    for (int32_t k = 0; k < deals; ++k) {
        const uint32_t seed = DealSeed(level, k, base);
        {
            const std::lock_guard<std::mutex> turn(DealTurn);
            SetRandomState(seed);
            InitMap(*dealt, t.View, pool, table, level, record.ShapeId);
        }
        NoteDeal(figures, *dealt, k);
        PlayDeal(*dealt, record, seed, skilled, t, wins);
    }
    CloseFigures(figures, deals, wins);
    return figures;
}

std::vector<LevelFigures> MeasureLevels(const LevelTable& table, const std::vector<int32_t>& levels, int32_t deals,
                                        uint32_t base, const std::vector<OptionFlags>& skilled, int threads)
{
    std::vector<LevelFigures> all(levels.size());
    std::atomic<size_t> next{0};
    std::exception_ptr failure;
    std::atomic<bool> failed{false};
    auto work = [&] {
        try {
            for (size_t i = next++; i < levels.size() && !failed; i = next++)
                all[i] = MeasureLevel(table, levels[i], deals, base, skilled);
        } catch (...) {
            if (!failed.exchange(true))
                failure = std::current_exception();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
    return all;
}
