#include "tools/levels/LevelStats.h"

#include "core/Random.h"
#include "levels/CheckLevel.h"
#include "model/SilentView.h"
#include "tools/levels/CasualPlayer.h"
#include "tools/levels/PlayerRandom.h"
#include "tools/levels/SkilledPlayer.h"
#include "tools/levels/Solver.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace {

// The generator draws from the game's one random source: one deal at a time.
std::mutex DealTurn;

void Note(Spread& spread, int32_t value, int32_t deal)
{
    if (deal == 0 || value < spread.Min)
        spread.Min = value;
    if (deal == 0 || value > spread.Max)
        spread.Max = value;
    spread.Mean += value;
}

std::vector<double> Ranks(const std::vector<double>& v)
{
    std::vector<size_t> order(v.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return v[a] < v[b]; });
    std::vector<double> rank(v.size());
    for (size_t i = 0; i < order.size();) {
        size_t j = i;
        while (j + 1 < order.size() && v[order[j + 1]] == v[order[i]])
            ++j;
        const double mean = (static_cast<double>(i) + static_cast<double>(j)) / 2 + 1;
        for (size_t k = i; k <= j; ++k)
            rank[order[k]] = mean;
        i = j + 1;
    }
    return rank;
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

    // Boards are large: kept off the stack.
    auto dealt = std::make_unique<Board>();
    auto played = std::make_unique<Board>();
    auto search = std::make_unique<SearchBoard>();
    Solver solver(SolverBudget);
    const DealOrder order(record);
    CarPool pool;
    SilentView view;
    int casualWins = 0, carefulWins = 0, cleared = 0;
    std::vector<int> skilledWins(skilled.size());
    for (int32_t k = 0; k < deals; ++k) {
        const uint32_t seed = DealSeed(level, k, base);
        {
            const std::lock_guard<std::mutex> turn(DealTurn);
            SetRandomState(seed);
            InitMap(*dealt, view, pool, table, level, record.ShapeId);
        }

        const BoardShape& s = dealt->CurrentShape;
        int32_t hidden = 0, deepest = 0;
        bool seen[CarCount + 1] = {};
        int32_t distinct = 0;
        for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
            for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column) {
                const Cell& cell = dealt->Cells(column, row);
                int32_t stack = 0;
                for (CarId car : cell.Slot)
                    if (car > 0 && car <= CarCount) {
                        ++stack;
                        if (!seen[car]) {
                            seen[car] = true;
                            ++distinct;
                        }
                    }
                hidden += dealt->HiddenCount(column, row);
                deepest = std::max(deepest, stack);
            }
        Note(figures.Cars, dealt->CarsLeft, k);
        Note(figures.Hidden, hidden, k);
        Note(figures.Deepest, deepest, k);
        Note(figures.Distinct, distinct, k);

        const PlayerKind players[] = {PlayerKind::Casual, PlayerKind::Careful};
        for (PlayerKind player : players) {
            *played = *dealt;
            PlayerRandom random(MixBits((static_cast<uint64_t>(seed) << 1) | (player == PlayerKind::Careful ? 1u : 0u)));
            if (PlayOut(*played, view, player, random).Won)
                ++(player == PlayerKind::Casual ? casualWins : carefulWins);
        }
        for (size_t i = 0; i < skilled.size(); ++i) {
            *played = *dealt;
            SkilledSettings settings;
            settings.Items = skilled[i];
            // Seeded by what the items let it see, so a PREVIEW and its AUTO-PREVIEW,
            // which show the same cars, play the same game.
            const OptionFlags& o = skilled[i];
            const uint64_t sight = (o.Undo ? 1u : 0u) | (o.PreviewEmpty || o.AutoPreviewEmpty ? 2u : 0u) |
                                   (o.PreviewOccupied || o.AutoPreviewOccupied ? 4u : 0u);
            if (PlayOutSkilled(*played, record, settings, MixBits((static_cast<uint64_t>(seed) << 8) | (8u + sight))).Won)
                ++skilledWins[i];
        }
        ReadBoard(*dealt, order, *search);
        cleared += solver.Solve(*search) == SolveOutcome::Cleared;
    }
    figures.Deals = deals;
    if (deals > 0) {
        for (Spread* spread : {&figures.Cars, &figures.Hidden, &figures.Deepest, &figures.Distinct})
            spread->Mean /= deals;
        figures.CasualWinRate = static_cast<double>(casualWins) / deals;
        figures.CarefulWinRate = static_cast<double>(carefulWins) / deals;
        for (int wins : skilledWins)
            figures.SkilledWinRates.push_back(static_cast<double>(wins) / deals);
        figures.SolverClearRate = static_cast<double>(cleared) / deals;
    }
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

double SpearmanRho(const std::vector<double>& x, const std::vector<double>& y)
{
    if (x.size() != y.size() || x.size() < 2)
        return 0;
    const std::vector<double> rx = Ranks(x), ry = Ranks(y);
    const double n = static_cast<double>(x.size());
    const double mean = (n + 1) / 2;
    double sxy = 0, sxx = 0, syy = 0;
    for (size_t i = 0; i < rx.size(); ++i) {
        sxy += (rx[i] - mean) * (ry[i] - mean);
        sxx += (rx[i] - mean) * (rx[i] - mean);
        syy += (ry[i] - mean) * (ry[i] - mean);
    }
    if (sxx == 0 || syy == 0)
        return 0;
    return sxy / std::sqrt(sxx * syy);
}
