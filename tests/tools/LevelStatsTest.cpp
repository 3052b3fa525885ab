// The simulated players, and the difficulty curve of the shipped levels they measure.
#include "model/FakeViews.h"
#include "model/Invariants.h"
#include "levels/LevelBuilder.h"
#include "core/Random.h"
#include "levels/GameModes.h"
#include "tools/levels/LevelStats.h"
#include "model/PlayRules.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// A board laid by hand on shape 6 (columns 3 … 10, rows 11 … 18), ready for input.
struct HandBoard {
    std::unique_ptr<Board> B = std::make_unique<Board>();
    HandBoard()
    {
        B->CurrentShape = ShapeById(6);
        B->InputEnabled = true;
    }
    // Cars of a bay from the top down; hidden counts follow.
    void Put(int32_t column, int32_t row, std::initializer_list<CarId> stack)
    {
        Cell& cell = B->Cells(column, row);
        int slot = 0;
        for (CarId car : stack)
            cell.Slot[slot++] = car;
        B->HiddenCount(column, row) = cell.Slot[1] ? static_cast<int32_t>(stack.size()) - 1 : 0;
        B->CarsLeft = CountCars(*B);
    }
    Board& operator*() { return *B; }
};

} // namespace

TEST(BlockedForGood, FollowsWhatCanStillBecomeFree)
{
    // Behind it in its own row: the partner can only be free once the car has gone.
    HandBoard row;
    row.Put(3, 11, {7});
    row.Put(5, 11, {7});
    EXPECT_TRUE(IsBlockedForGood(*row, {{3, 11}, 0}));
    EXPECT_FALSE(IsBlockedForGood(*row, {{5, 11}, 0})) << "the car behind does not hold up the one in front";

    // Beneath it in its own bay: the same.
    HandBoard bay;
    bay.Put(3, 11, {7, 7});
    EXPECT_TRUE(IsBlockedForGood(*bay, {{3, 11}, 0}));

    // In another row, or in front of it: a way out remains.
    HandBoard rows;
    rows.Put(3, 11, {7});
    rows.Put(6, 12, {9, 7});
    EXPECT_FALSE(IsBlockedForGood(*rows, {{3, 11}, 0}));

    // Hidden under an emptied lower bay: it only blocks once revealed, which the player need not do.
    HandBoard under;
    under.Put(4, 11, {0, 7});
    under.Put(6, 11, {7});
    EXPECT_FALSE(IsBlockedForGood(*under, {{6, 11}, 0}));
    EXPECT_FALSE(WaitsOn({{6, 11}, 0}, {{4, 11}, 1}));
    EXPECT_TRUE(WaitsOn({{6, 11}, 0}, {{4, 11}, 0}));
    EXPECT_TRUE(WaitsOn({{4, 11}, 2}, {{4, 11}, 1}));
    EXPECT_FALSE(WaitsOn({{4, 11}, 1}, {{4, 11}, 2}));
    EXPECT_FALSE(WaitsOn({{4, 12}, 0}, {{3, 11}, 0})) << "other rows never block";

    // One of four cars of an id, all others behind it in its row.
    HandBoard four;
    four.Put(3, 11, {7, 7});
    four.Put(4, 11, {7});
    four.Put(8, 11, {7});
    EXPECT_TRUE(IsBlockedForGood(*four, {{3, 11}, 0}));
    four.Put(3, 12, {7});
    EXPECT_FALSE(IsBlockedForGood(*four, {{3, 11}, 0}));
}

// Three free cars of one id, the fourth behind one of them: the pair of the two
// others strands the last two in one row. The casual player falls for it now and
// then, the careful one never.
TEST(SimulatedPlayers, OnlyTheCarefulOneAvoidsStrandingAPair)
{
    int casualLosses = 0;
    for (uint64_t seed = 1; seed <= 60; ++seed)
        for (PlayerKind player : {PlayerKind::Casual, PlayerKind::Careful}) {
            HandBoard h;
            h.Put(3, 11, {7});
            h.Put(3, 12, {7});
            h.Put(3, 13, {7});
            h.Put(4, 13, {7});
            ScreenFake screen(*h);
            PlayerRandom random(seed);
            const GameResult result = PlayOut(*h, screen, player, random);
            if (player == PlayerKind::Careful)
                EXPECT_TRUE(result.Won) << "seed " << seed;
            else if (!result.Won) {
                ++casualLosses;
                EXPECT_EQ((*h).CarsLeft, 2) << "the stranded pair is left";
            }
        }
    EXPECT_GT(casualLosses, 5);
    EXPECT_LT(casualLosses, 40) << "a third of the choices strand the pair";
}

// With a pair free, neither player reveals, even when an emptied bay waits.
TEST(SimulatedPlayers, RevealOnlyWhenNoPairIsFree)
{
    for (uint64_t seed = 1; seed <= 20; ++seed)
        for (PlayerKind player : {PlayerKind::Casual, PlayerKind::Careful}) {
            HandBoard h;
            h.Put(3, 11, {0, 8});
            h.Put(4, 11, {5});
            h.Put(3, 12, {5});
            h.Put(3, 13, {8});
            Recorder calls;
            PlayerRandom random(seed);
            const GameResult result = PlayOut(*h, calls, player, random);
            EXPECT_TRUE(result.Won);
            EXPECT_EQ(result.Reveals, 1);
            const auto shown = calls.Starting("car ");
            ASSERT_EQ(shown.size(), 1u);
            const auto firstHide = std::find(calls.Calls.begin(), calls.Calls.end(), "hide 4,11");
            const auto reveal = std::find(calls.Calls.begin(), calls.Calls.end(), shown[0]);
            EXPECT_LT(firstHide - calls.Calls.begin(), reveal - calls.Calls.begin()) << "the pair of 5s goes first";
        }
}

TEST(SimulatedPlayers, PlayRealDealsThroughTheClickHandler)
{
    LevelTable table;
    table.Level(1) = Level(6, 9, {3});                     // every car free from the start
    table.Level(2) = Level(4, 6, {205, 105, 5, 204, 104, 4}); // stacks and few distinct ids
    auto b = std::make_unique<Board>();
    CarPool pool;
    ScreenFake screen(*b);
    int won = 0;
    for (int level = 1; level <= 2; ++level)
        for (int k = 0; k < 25; ++k) {
            SetRandomState(DealSeed(level, k));
            InitMap(*b, screen, pool, table, level, table.Level(level).ShapeId);
            int32_t hidden = 0;
            for (int32_t r = GridMinRow; r <= GridMaxRow; ++r)
                for (int32_t c = GridMinColumn; c <= GridMaxColumn; ++c)
                    hidden += b->HiddenCount(c, r);
            const int32_t cars = b->CarsLeft;
            PlayerRandom random(k);
            const GameResult result = PlayOut(*b, screen, k % 2 ? PlayerKind::Careful : PlayerKind::Casual, random);
            ASSERT_EQ(BrokenInvariant(*b), "") << "level " << level << ", deal " << k;
            ASSERT_EQ(screen.Mismatch(), "");
            EXPECT_EQ(result.Won, b->CarsLeft == 0);
            EXPECT_EQ(b->CarsLeft, cars - 2 * result.Pairs);
            if (result.Won) {
                ++won;
                EXPECT_EQ(result.Reveals, hidden) << "every hidden car came up once";
                EXPECT_FALSE(b->InputEnabled) << "the win went through the real click";
            }
            if (level == 1) {
                EXPECT_TRUE(result.Won) << "with every car free any pairing clears the board";
            }
        }
    EXPECT_GT(won, 25);
}

TEST(LevelFigures, AreReproducibleAndDescribeTheDeal)
{
    LevelTable table;
    table.Level(5) = Level(4, 6, {205, 105, 5, 204, 104, 4});
    table.Level(6) = Level(4, 6, {205, 105, 5, 204, 104, 5}); // last position not MinColumn
    const LevelFigures a = MeasureLevel(table, 5, 30);
    const LevelFigures again = MeasureLevel(table, 5, 30);
    EXPECT_EQ(a.Problem, "");
    EXPECT_EQ(a.CasualWinRate, again.CasualWinRate);
    EXPECT_EQ(a.CarefulWinRate, again.CarefulWinRate);
    EXPECT_EQ(a.Distinct.Mean, again.Distinct.Mean);
    EXPECT_EQ(a.Cars.Min, 60);
    EXPECT_EQ(a.Cars.Max, 60);
    EXPECT_EQ(a.Hidden.Min, 40) << "two hidden cars under columns 4 and 5 of ten rows";
    EXPECT_EQ(a.Deepest.Max, 3);
    EXPECT_LE(a.Distinct.Max, 17) << "pool type 6 has 17 ids";
    EXPECT_GE(a.Distinct.Min, 1);
    EXPECT_EQ(a.Deals, 30);

    const LevelFigures broken = MeasureLevel(table, 6, 30);
    EXPECT_NE(broken.Problem, "");
    EXPECT_EQ(broken.Deals, 0);

    EXPECT_NE(DealSeed(5, 0), DealSeed(5, 1));
    EXPECT_NE(DealSeed(5, 0), DealSeed(6, 0));
    EXPECT_NE(DealSeed(5, 0), DealSeed(5, 0, 1));
}

TEST(Spearman, RanksWithTies)
{
    EXPECT_DOUBLE_EQ(SpearmanRho({1, 2, 3, 4}, {10, 20, 30, 40}), 1.0);
    EXPECT_DOUBLE_EQ(SpearmanRho({1, 2, 3, 4}, {4, 3, 2, 1}), -1.0);
    // Ranks of {1, 1, 2}: 1.5, 1.5, 3 against 1, 2, 3: r = 1.5 / sqrt(1.5 * 2).
    EXPECT_NEAR(SpearmanRho({1, 2, 3}, {5, 5, 9}), 0.8660254, 1e-6);
    EXPECT_EQ(SpearmanRho({1, 2, 3}, {7, 7, 7}), 0.0) << "no order in a constant list";
}

// The curve of data/map/level.ini. Forty deals per level keep this fast; the
// table in docs/levels.md comes from two hundred.
TEST(ShippedLevels, DifficultyClimbsAlongEveryMode)
{
    constexpr int Deals = 40;
    auto table = std::make_unique<LevelTable>();
    ASSERT_FALSE(LoadLevelFile(std::string(VZ_SOURCE_DIR) + "/data/map/level.ini", *table));
    std::vector<LevelFigures> f(LevelCount + 1);
    for (int n = 1; n <= LevelCount; ++n) {
        f[n] = MeasureLevel(*table, n, Deals);
        ASSERT_EQ(f[n].Problem, "") << "level " << n;
    }
    auto rate = [&](int n) { return f[n].CasualWinRate; };
    auto mean = [&](int first, int last) {
        double sum = 0;
        for (int n = first; n <= last; ++n)
            sum += rate(n);
        return sum / (last - first + 1);
    };

    for (int first : {1, 41}) {
        std::vector<double> number, difficulty;
        bool shapes[ShapeCount + 1] = {};
        for (int n = first; n < first + 40; ++n) {
            number.push_back(n);
            difficulty.push_back(1 - rate(n));
            shapes[f[n].ShapeId] = true;
        }
        EXPECT_GE(SpearmanRho(number, difficulty), 0.9) << "championship from level " << first;
        for (int s = 1; s <= ShapeCount; ++s)
            EXPECT_TRUE(shapes[s]) << "shape " << s << " missing from the championship from level " << first;
    }

    // Gentle at first, then deeper stacks and fewer ids per pair.
    EXPECT_GE(rate(1), 0.95);
    EXPECT_LE(rate(40), 0.3);
    EXPECT_LT(f[1].Deepest.Max, f[40].Deepest.Min);
    EXPECT_LT(f[1].Hidden.Max, f[40].Hidden.Min);
    EXPECT_GT(f[1].Distinct.Mean / f[1].Cars.Mean, 2 * f[40].Distinct.Mean / f[40].Cars.Mean);

    // The advanced championship takes up about where the normal one is halfway.
    EXPECT_NEAR(mean(41, 43), mean(19, 21), 0.15);
    EXPECT_LT(rate(80), rate(40)) << "advanced level 80 is harder than normal level 40";

    // Free levels: each tier harder than the one before, maniac the hardest of all.
    const double easy = mean(81, 84), normal = mean(91, 94), advanced = mean(101, 104), maniac = mean(106, 109);
    EXPECT_GT(easy, normal);
    EXPECT_GT(normal, advanced);
    EXPECT_GT(advanced, maniac);

    bool pools[PoolTypeCount + 1] = {};
    for (int n = 1; n <= LevelCount; ++n)
        if (IsReachableLevel(n))
            pools[f[n].PoolTypeId] = true;
    for (int p = 1; p <= PoolTypeCount; ++p)
        EXPECT_TRUE(pools[p]) << "pool type " << p << " is never dealt";
}
