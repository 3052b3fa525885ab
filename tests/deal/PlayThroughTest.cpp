// Whole games on the shipped levels, through the real click handler.
#include "deal/DealOrder.h"
#include "model/FakeViews.h"
#include "model/Invariants.h"
#include "core/Random.h"
#include "deal/Generator.h"
#include "levels/GameModes.h"
#include "levels/ShippedLevels.h"
#include "model/PlayRules.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<int> ReachableLevels()
{
    std::vector<int> levels;
    for (int n = 1; n <= LevelCount; ++n)
        if (IsReachableLevel(n))
            levels.push_back(n);
    return levels;
}

// VROOMZLE_SOLVER_SEEDS raises the number of deals per level for a longer run.
int SolverSeeds()
{
    const char* text = std::getenv("VROOMZLE_SOLVER_SEEDS");
    const int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : 200;
}

uint32_t SeedFor(int level, int k) { return static_cast<uint32_t>(level) * 2654435761u + static_cast<uint32_t>(k) * 40503u; }

struct Game {
    std::unique_ptr<Board> B = std::make_unique<Board>();
    CarPool Pool;
    ScreenFake Screen{*B};
    std::unique_ptr<DealTrace> Trace = std::make_unique<DealTrace>();

    void DealLevel(int level, uint32_t seed)
    {
        SetRandomState(seed);
        InitMap(*B, Screen, Pool, ShippedLevels(), level, ShippedLevels().Level(level).ShapeId, Trace.get());
    }
};

// Plays a fresh deal by taking the pairs off in the reverse order of dealing,
// after checking that every pair carries its pool entry.
std::string SolveByDealOrder(Game& g)
{
    Board& b = *g.B;
    const BayGrid<Cell>& pairs = g.Trace->Pairs;
    const std::string foreign = PairsCarryTheirPool(b, pairs, g.Pool);
    if (!foreign.empty())
        return foreign;
    const std::string failure = ClearInDealOrder(b, pairs, [&](BayPos bay) { return ClickBay(b, g.Screen, bay); });
    return failure.empty() ? g.Screen.Mismatch() : failure;
}

class EveryLevel : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(EveryLevel, EveryDealCanBeClearedInReverseDealOrder)
{
    const int level = GetParam();
    Game g;
    const int seeds = SolverSeeds();
    for (int k = 0; k < seeds; ++k) {
        const uint32_t seed = SeedFor(level, k);
        g.DealLevel(level, seed);
        ASSERT_EQ(g.Screen.Mismatch(), "") << "seed " << seed;
        ASSERT_EQ(BrokenInvariant(*g.B), "") << "seed " << seed;
        ASSERT_EQ(SolveByDealOrder(g), "") << "level " << level << ", seed " << seed;
        ASSERT_EQ(BrokenInvariant(*g.B), "") << "seed " << seed;
    }
}

// Long sessions of random events; the invariants and the screen must hold after each.
TEST_P(EveryLevel, InvariantsHoldUnderRandomPlay)
{
    const int level = GetParam();
    Game g;
    Board& b = *g.B;
    std::mt19937 rng(static_cast<uint32_t>(level) * 7919u);
    auto below = [&](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
    g.DealLevel(level, SeedFor(level, 1000));
    int wins = 0, pairs = 0;

    for (int event = 0; event < 1500; ++event) {
        const BoardShape& s = b.CurrentShape;
        OptionFlags o;
        o.Undo = below(4) != 0;
        o.PreviewEmpty = below(2);
        o.PreviewOccupied = below(2);
        o.AutoPreviewEmpty = below(2);
        o.AutoPreviewOccupied = below(2);
        const BayPos inside{s.MinColumn + below(s.ColumnCount), s.MinRow + below(s.RowCount)};
        const BayPos anywhere{below(30) - 10, below(40) - 10};
        const int kind = below(100);
        const int carsBefore = b.CarsLeft;
        ClickOutcome outcome = ClickOutcome::Ignored;

        if (kind < 30) {
            outcome = ClickBay(b, g.Screen, inside).Outcome;
        } else if (kind < 50) {
            // A likely move: a free car whose twin is free too, or an emptied bay.
            std::vector<BayPos> free;
            for (int32_t r = s.MinRow; r <= s.MaxRow; ++r)
                for (int32_t c = s.MinColumn; c <= s.MaxColumn; ++c)
                    if (b.Cells(c, r).Slot[0] != 0 ? IsFree(b, c, r) : b.Cells(c, r).Slot[1] != 0)
                        free.push_back({c, r});
            if (!free.empty()) {
                const BayPos pick = free[below(static_cast<int>(free.size()))];
                outcome = ClickBay(b, g.Screen, pick).Outcome;
                if (outcome == ClickOutcome::Selected)
                    for (const BayPos& other : free)
                        if (other != pick && b.Cells(other.Column, other.Row).Slot[0] == b.Cells(pick.Column, pick.Row).Slot[0]) {
                            ASSERT_EQ(BrokenInvariant(b), "");
                            outcome = ClickBay(b, g.Screen, other).Outcome;
                            break;
                        }
            }
        } else if (kind < 58) {
            outcome = ClickBay(b, g.Screen, anywhere).Outcome;
        } else if (kind < 75) {
            PointerMoveBay(b, g.Screen, below(3) ? inside : anywhere, o);
        } else if (kind < 85) {
            GameKeyUp(b, g.Screen, KeyBackspace, below(10) != 0, o);
        } else if (kind < 95) {
            GameKeyUp(b, g.Screen, below(8) ? KeySpace : 13, below(10) != 0, o);
        } else if (kind < 97) {
            b.InputEnabled = false; // the MENU page, then back through the GAME button
            ClickBay(b, g.Screen, inside);
            GameKeyUp(b, g.Screen, KeyBackspace, true, o);
            ResumeInput(b);
        } else {
            g.DealLevel(level, static_cast<uint32_t>(rng()));
        }

        if (outcome == ClickOutcome::PairRemoved) {
            ++pairs;
            ASSERT_EQ(b.CarsLeft, carsBefore - 2);
        }
        if (b.CarsLeft == 0) {
            ++wins;
            ASSERT_FALSE(b.InputEnabled);
            ResumeInput(b); // the GAME button on a won board: it must stay inert
            ASSERT_EQ(ClickBay(b, g.Screen, inside).Outcome, ClickOutcome::Ignored);
            g.DealLevel(level, static_cast<uint32_t>(rng()));
        }
        ASSERT_EQ(BrokenInvariant(b), "") << "event " << event;
        ASSERT_EQ(g.Screen.Mismatch(), "") << "event " << event;
        ASSERT_TRUE(b.InputEnabled) << "event " << event;
    }
    EXPECT_GT(pairs, 20) << "the session should make progress";
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, EveryLevel, ::testing::ValuesIn(ReachableLevels()),
                         [](const ::testing::TestParamInfo<int>& info) { return "Level" + std::to_string(info.param); });
