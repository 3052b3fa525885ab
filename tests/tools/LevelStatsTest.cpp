// The simulated players, and the difficulty curve of the shipped levels they measure.
#include "model/FakeViews.h"
#include "model/SilentView.h"
#include "model/Invariants.h"
#include "levels/LevelBuilder.h"
#include "core/Random.h"
#include "deal/Generator.h"
#include "levels/GameModes.h"
#include "levels/ShippedLevels.h"
#include "tools/levels/BlockedForGood.h"
#include "tools/levels/CasualPlayer.h"
#include "tools/levels/ItemNames.h"
#include "tools/levels/LevelStats.h"
#include "tools/levels/SkilledPlayer.h"
#include "tools/levels/Solver.h"
#include "tools/levels/Spearman.h"
#include "model/PlayRules.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <thread>
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

void DealShipped(Board& board, int level, uint32_t seed, BoardView* screen = nullptr)
{
    SilentView silent;
    BoardView& view = screen ? *screen : silent;
    CarPool pool;
    SetRandomState(seed);
    InitMap(board, view, pool, ShippedLevels(), level, ShippedLevels().Level(level).ShapeId);
}

// The top car of every bay: what a move changes.
std::vector<CarId> Tops(const Board& b)
{
    std::vector<CarId> tops;
    const BoardShape& s = b.CurrentShape;
    for (int32_t r = s.MinRow; r <= s.MaxRow; ++r)
        for (int32_t c = s.MinColumn; c <= s.MaxColumn; ++c)
            tops.push_back(b.Cells(c, r).Slot[0]);
    return tops;
}

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
    OptionFlags previews, autoPreviews;
    previews.PreviewEmpty = previews.PreviewOccupied = true;
    autoPreviews.AutoPreviewEmpty = autoPreviews.AutoPreviewOccupied = true;
    const std::vector<OptionFlags> skilled = {OptionFlags{}, previews, autoPreviews};
    // The same measure on two threads at once: the deals take turns at the game's random source.
    LevelFigures again;
    std::thread other([&] { again = MeasureLevel(table, 5, 30, 0, skilled); });
    const LevelFigures a = MeasureLevel(table, 5, 30, 0, skilled);
    other.join();
    EXPECT_EQ(a.Problem, "");
    EXPECT_EQ(a.CasualWinRate, again.CasualWinRate);
    EXPECT_EQ(a.CarefulWinRate, again.CarefulWinRate);
    EXPECT_EQ(a.SkilledWinRates, again.SkilledWinRates);
    ASSERT_EQ(a.SkilledWinRates.size(), 3u);
    EXPECT_EQ(a.SkilledWinRates[1], a.SkilledWinRates[2]) << "PREVIEW and AUTO-PREVIEW show the same cars";
    EXPECT_EQ(a.SolverClearRate, 1.0);
    EXPECT_EQ(a.Distinct.Mean, again.Distinct.Mean);
    EXPECT_EQ(a.Cars.Min, 60);
    EXPECT_EQ(a.Cars.Max, 60);
    EXPECT_EQ(a.Hidden.Min, 40) << "two hidden cars under columns 4 and 5 of ten rows";
    EXPECT_EQ(a.Deepest.Max, 3);
    EXPECT_LE(a.Distinct.Max, 17) << "pool type 6 has 17 ids";
    EXPECT_GE(a.Distinct.Min, 1);
    EXPECT_EQ(a.Deals, 30);

    const LevelFigures broken = MeasureLevel(table, 6, 30, 0, skilled);
    EXPECT_NE(broken.Problem, "");
    EXPECT_EQ(broken.Deals, 0);
    EXPECT_TRUE(broken.SkilledWinRates.empty());

    EXPECT_NE(DealSeed(5, 0), DealSeed(5, 1));
    EXPECT_NE(DealSeed(5, 0), DealSeed(6, 0));
    EXPECT_NE(DealSeed(5, 0), DealSeed(5, 0, 1));
}

// Levels shared out among threads give the figures one thread gives, level by
// level. ./test.sh --tsan runs this under ThreadSanitizer, which reports any
// access to shared state that the threads do not take turns at.
TEST(LevelFigures, AreTheSameOnAnyNumberOfThreads)
{
    const std::vector<int32_t> levels = {1, 2, 3, 41, 42, 81, 91};
    const std::vector<LevelFigures> one = MeasureLevels(ShippedLevels(), levels, 6, 0, {OptionFlags{}}, 1);
    for (int threads : {2, 4}) {
        const std::vector<LevelFigures> many = MeasureLevels(ShippedLevels(), levels, 6, 0, {OptionFlags{}}, threads);
        ASSERT_EQ(many.size(), levels.size());
        for (size_t i = 0; i < levels.size(); ++i) {
            const LevelFigures &a = one[i], &b = many[i];
            const std::string where = "level " + std::to_string(levels[i]) + " on " + std::to_string(threads) + " threads";
            EXPECT_EQ(b.Level, levels[i]) << where;
            EXPECT_EQ(b.Problem, a.Problem) << where;
            for (auto spread : {&LevelFigures::Cars, &LevelFigures::Hidden, &LevelFigures::Deepest, &LevelFigures::Distinct}) {
                EXPECT_EQ((b.*spread).Min, (a.*spread).Min) << where;
                EXPECT_EQ((b.*spread).Max, (a.*spread).Max) << where;
                EXPECT_EQ((b.*spread).Mean, (a.*spread).Mean) << where;
            }
            EXPECT_EQ(b.CasualWinRate, a.CasualWinRate) << where;
            EXPECT_EQ(b.CarefulWinRate, a.CarefulWinRate) << where;
            EXPECT_EQ(b.SkilledWinRates, a.SkilledWinRates) << where;
            EXPECT_EQ(b.SolverClearRate, 1.0) << where;
        }
    }
}

// The ceiling: with every car in sight, a deal can always be cleared, and the
// solver's moves clear it through the click handler.
TEST(Solver, ClearsEveryReachableLevel)
{
    auto b = std::make_unique<Board>();
    auto start = std::make_unique<SearchBoard>();
    Solver solver(2000000);
    for (int level = 1; level <= LevelCount; ++level) {
        if (!IsReachableLevel(level))
            continue;
        const DealOrder order(ShippedLevels().Level(level));
        for (int k = 0; k < 40; ++k) {
            ScreenFake screen(*b);
            DealShipped(*b, level, DealSeed(level, k, 99), &screen);
            ReadBoard(*b, order, *start);
            SearchBoard board = *start;
            std::vector<SearchMove> moves;
            ASSERT_EQ(solver.Solve(board, &moves), SolveOutcome::Cleared) << "level " << level << ", deal " << k;
            ASSERT_TRUE(PlayMoves(*b, screen, *start, moves)) << "level " << level << ", deal " << k;
            ASSERT_EQ(screen.Mismatch(), "");
        }
    }
}

TEST(Solver, KnowsABoardThatCannotBeCleared)
{
    Solver solver(100000);
    auto read = [](HandBoard& h) {
        SearchBoard s;
        ReadBoard(*h, DealOrder(), s);
        return s;
    };
    // Both cars of an id in one row: a pair needs two rows.
    HandBoard row;
    row.Put(3, 11, {7});
    row.Put(5, 11, {7});
    SearchBoard s = read(row);
    EXPECT_EQ(solver.Solve(s), SolveOutcome::Stuck);

    // Each pair waits on the other: 5 stands before 6 in row 11, 6 before 5 in row 12.
    HandBoard cycle;
    cycle.Put(3, 11, {5});
    cycle.Put(4, 11, {6});
    cycle.Put(3, 12, {6});
    cycle.Put(4, 12, {5});
    s = read(cycle);
    EXPECT_EQ(solver.Solve(s), SolveOutcome::Stuck);

    // A hidden car under an emptied bay blocks only once revealed: here it must
    // wait, and the solver takes the car behind it first.
    HandBoard wait;
    wait.Put(3, 11, {0, 8});
    wait.Put(5, 11, {9});
    wait.Put(3, 12, {9});
    wait.Put(3, 13, {8});
    const SearchBoard waitStart = read(wait);
    s = waitStart;
    std::vector<SearchMove> moves;
    ASSERT_EQ(solver.Solve(s, &moves), SolveOutcome::Cleared);
    SilentView view;
    EXPECT_TRUE(PlayMoves(*wait, view, waitStart, moves));

    // Four cars of an id: the pair of the two free ones would strand the others in one row.
    HandBoard four;
    four.Put(3, 11, {7});
    four.Put(3, 12, {7});
    four.Put(3, 13, {5, 7});
    four.Put(4, 13, {7});
    four.Put(3, 14, {5});
    const SearchBoard fourStart = read(four);
    s = fourStart;
    ASSERT_EQ(solver.Solve(s, &moves), SolveOutcome::Cleared);
    EXPECT_TRUE(PlayMoves(*four, view, fourStart, moves));
}

// Cars it cannot see do not sway it: with the unseen cars of a deal shuffled,
// the skilled player makes the same moves until it brings one of them up.
TEST(SkilledPlayer, SeesOnlyWhatAPlayerSees)
{
    OptionFlags previews, autoUndo;
    previews.PreviewEmpty = previews.PreviewOccupied = true;
    autoUndo.AutoPreviewEmpty = autoUndo.AutoPreviewOccupied = autoUndo.Undo = true;
    // The items, and the first slot it cannot see under a bay it may reveal.
    const struct {
        OptionFlags Items;
        int Unseen;
    } cases[] = {{OptionFlags{}, 1}, {previews, 2}, {autoUndo, 3}};
    for (const auto& c : cases)
        for (int level : {35, 40, 80}) {
            auto real = std::make_unique<Board>();
            DealShipped(*real, level, DealSeed(level, 3));
            auto shuffled = std::make_unique<Board>(*real);
            std::vector<CarId*> unseen;
            const BoardShape& s = shuffled->CurrentShape;
            for (int32_t r = s.MinRow; r <= s.MaxRow; ++r)
                for (int32_t col = s.MinColumn; col <= s.MaxColumn; ++col)
                    for (int slot = c.Unseen; slot < SlotCount; ++slot)
                        if (shuffled->Cells(col, r).Slot[slot] != 0)
                            unseen.push_back(&shuffled->Cells(col, r).Slot[slot]);
            std::vector<CarId> cars;
            for (CarId* car : unseen)
                cars.push_back(*car);
            std::shuffle(cars.begin(), cars.end(), std::mt19937(level));
            for (size_t i = 0; i < unseen.size(); ++i)
                *unseen[i] = cars[i];
            TakeSnapshot(*shuffled);

            SkilledSettings settings;
            settings.Items = c.Items;
            SkilledPlayer a(*real, ShippedLevels().Level(level), settings, 11);
            SkilledPlayer b(*shuffled, ShippedLevels().Level(level), settings, 11);
            GameResult ra, rb;
            int steps = 0;
            bool same = true;
            while (same && a.Step(ra) && b.Step(rb)) {
                same = Tops(*real) == Tops(*shuffled);
                ++steps;
            }
            // A reveal brings a car into sight; only from then on may the games part.
            EXPECT_GT(steps, 1) << ItemsName(c.Items) << ", level " << level;
            if (!same) {
                EXPECT_GT(ra.Reveals, 0) << ItemsName(c.Items) << ", level " << level;
            }
        }
}

// Whole games through the handlers, with every kind of item: the board stays
// sound, the undo's peeks leave no trace, and the count of moves adds up.
TEST(SkilledPlayer, PlaysWholeGamesThroughTheHandlers)
{
    const char* sets[] = {"none", "undo", "preview-empty", "auto-preview-occupied", "previews", "auto-previews,undo"};
    int won = 0;
    for (const char* set : sets)
        for (int level : {5, 17, 33, 59}) {
            SkilledSettings settings;
            ASSERT_TRUE(ParseItems(set, settings.Items));
            auto b = std::make_unique<Board>();
            DealShipped(*b, level, DealSeed(level, 1));
            const int32_t cars = b->CarsLeft;
            const GameResult result = PlayOutSkilled(*b, ShippedLevels().Level(level), settings, 5);
            ASSERT_EQ(BrokenInvariant(*b), "") << set << ", level " << level;
            EXPECT_EQ(b->CarsLeft, cars - 2 * result.Pairs);
            EXPECT_EQ(result.Won, b->CarsLeft == 0);
            EXPECT_FALSE(b->CarSelected);
            won += result.Won;
        }
    EXPECT_GE(won, 12);
}

TEST(SkilledPlayer, ItemNames)
{
    const struct {
        const char* Text;
        const char* Name;
    } cases[] = {{"none", "none"},
                 {"undo", "undo"},
                 {"preview-empty,preview-occupied", "previews"},
                 {"previews", "previews"},
                 {"auto-previews+undo", "auto-previews+undo"},
                 {"undo,auto-preview-empty", "auto-preview-empty+undo"},
                 {"preview-occupied", "preview-occupied"}};
    for (const auto& c : cases) {
        OptionFlags items;
        ASSERT_TRUE(ParseItems(c.Text, items)) << c.Text;
        EXPECT_EQ(ItemsName(items), c.Name);
    }
    OptionFlags items;
    EXPECT_FALSE(ParseItems("gold-medal", items));
    EXPECT_FALSE(ParseItems("undo,", items));
}

TEST(Spearman, RanksWithTies)
{
    EXPECT_DOUBLE_EQ(SpearmanRho({1, 2, 3, 4}, {10, 20, 30, 40}), 1.0);
    EXPECT_DOUBLE_EQ(SpearmanRho({1, 2, 3, 4}, {4, 3, 2, 1}), -1.0);
    // Ranks of {1, 1, 2}: 1.5, 1.5, 3 against 1, 2, 3: r = 1.5 / sqrt(1.5 * 2).
    EXPECT_NEAR(SpearmanRho({1, 2, 3}, {5, 5, 9}), 0.8660254, 1e-6);
    EXPECT_EQ(SpearmanRho({1, 2, 3}, {7, 7, 7}), 0.0) << "no order in a constant list";
}

// Measures the levels on two threads, the figures by level number.
std::vector<LevelFigures> MeasureShipped(const std::vector<int>& levels, int deals, const std::vector<OptionFlags>& skilled)
{
    std::vector<LevelFigures> f(LevelCount + 1);
    const std::vector<LevelFigures> measured = MeasureLevels(ShippedLevels(), levels, deals, 0, skilled, 2);
    for (size_t i = 0; i < levels.size(); ++i)
        f[static_cast<size_t>(levels[i])] = measured[i];
    return f;
}

std::vector<int> Range(int first, int last)
{
    std::vector<int> levels;
    for (int n = first; n <= last; ++n)
        levels.push_back(n);
    return levels;
}

// The curve of data/map/level.ini, measured once for every test below. Forty
// deals per level for the casual and careful players and sixteen for the
// skilled one keep this fast; the table in docs/levels.md comes from two hundred.
class ShippedCurve : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Casual = MeasureShipped(Range(1, LevelCount), 40, {});
        for (int n = 1; n <= LevelCount; ++n)
            if (IsReachableLevel(n))
                Reachable.push_back(n);
        // The skilled player bare, with both AUTO-PREVIEWs, and with the undo as well.
        Skilled = MeasureShipped(Reachable, 16, {OptionFlags{}, AutoPreviews(), AutoUndo()});
        // The last levels of the championships and the maniac tier, with more deals.
        Last = MeasureShipped({40, 80, 106, 107, 108, 109}, 40, {AutoUndo()});
    }

    static OptionFlags AutoPreviews()
    {
        OptionFlags o;
        o.AutoPreviewEmpty = o.AutoPreviewOccupied = true;
        return o;
    }
    static OptionFlags AutoUndo()
    {
        OptionFlags o = AutoPreviews();
        o.Undo = true;
        return o;
    }

    // The casual player's win rate, and its mean over levels first … last.
    static double Rate(int n) { return Casual[n].CasualWinRate; }
    static double Mean(int first, int last) { return MeanOf(Rate, first, last); }
    // The skilled player's win rates, bare, with the previews, with the undo as well.
    static double Bare(int n) { return Skilled[n].SkilledWinRates[0]; }
    static double Previewed(int n) { return Skilled[n].SkilledWinRates[1]; }
    static double Equipped(int n) { return Skilled[n].SkilledWinRates[2]; }
    static double BareMean(int first, int last) { return MeanOf(Bare, first, last); }

    // Spearman's rho of a championship's level numbers against its difficulty.
    static double Climb(int first, double (*winRate)(int))
    {
        std::vector<double> number, difficulty;
        for (int n = first; n < first + 40; ++n) {
            number.push_back(n);
            difficulty.push_back(1 - winRate(n));
        }
        return SpearmanRho(number, difficulty);
    }

    static std::vector<LevelFigures> Casual, Skilled, Last;
    static std::vector<int> Reachable;

private:
    static double MeanOf(double (*winRate)(int), int first, int last)
    {
        double sum = 0;
        for (int n = first; n <= last; ++n)
            sum += winRate(n);
        return sum / (last - first + 1);
    }
};

std::vector<LevelFigures> ShippedCurve::Casual, ShippedCurve::Skilled, ShippedCurve::Last;
std::vector<int> ShippedCurve::Reachable;

TEST_F(ShippedCurve, EveryLevelIsMeasured)
{
    for (int n = 1; n <= LevelCount; ++n)
        ASSERT_EQ(Casual[n].Problem, "") << "level " << n;
}

TEST_F(ShippedCurve, ChampionshipsClimbForTheCasualPlayer)
{
    for (int first : {1, 41})
        EXPECT_GE(Climb(first, Rate), 0.9) << "championship from level " << first;
}

TEST_F(ShippedCurve, EachChampionshipUsesEveryShape)
{
    for (int first : {1, 41}) {
        bool shapes[ShapeCount + 1] = {};
        for (int n = first; n < first + 40; ++n)
            shapes[Casual[n].ShapeId] = true;
        for (int s = 1; s <= ShapeCount; ++s)
            EXPECT_TRUE(shapes[s]) << "shape " << s << " missing from the championship from level " << first;
    }
}

// Gentle at first, then deeper stacks and fewer ids per pair.
TEST_F(ShippedCurve, TheNormalChampionshipStartsGentleAndEndsDeep)
{
    EXPECT_GE(Rate(1), 0.95);
    EXPECT_LE(Rate(40), 0.3);
    EXPECT_LT(Casual[1].Deepest.Max, Casual[40].Deepest.Min);
    EXPECT_LT(Casual[1].Hidden.Max, Casual[40].Hidden.Min);
    EXPECT_GT(Casual[1].Distinct.Mean / Casual[1].Cars.Mean, 2 * Casual[40].Distinct.Mean / Casual[40].Cars.Mean);
}

// The advanced championship takes up about where the normal one is halfway.
TEST_F(ShippedCurve, TheAdvancedChampionshipTakesUpHalfwayAlongTheNormal)
{
    EXPECT_NEAR(Mean(41, 43), Mean(19, 21), 0.15);
    EXPECT_LT(Rate(80), Rate(40)) << "advanced level 80 is harder than normal level 40";
}

// Free levels: each tier harder than the one before, maniac the hardest of all.
TEST_F(ShippedCurve, FreeTiersGrowHarderUpToManiac)
{
    const double easy = Mean(81, 84), normal = Mean(91, 94), advanced = Mean(101, 104), maniac = Mean(106, 109);
    EXPECT_GT(easy, normal);
    EXPECT_GT(normal, advanced);
    EXPECT_GT(advanced, maniac);
}

TEST_F(ShippedCurve, EveryPoolTypeIsDealt)
{
    bool pools[PoolTypeCount + 1] = {};
    for (int n : Reachable)
        pools[Casual[n].PoolTypeId] = true;
    for (int p = 1; p <= PoolTypeCount; ++p)
        EXPECT_TRUE(pools[p]) << "pool type " << p << " is never dealt";
}

// The skilled player: its curve falls along each championship too, and the
// tiers keep their order.
TEST_F(ShippedCurve, ChampionshipsClimbForTheSkilledPlayer)
{
    for (int first : {1, 41})
        EXPECT_GE(Climb(first, Bare), 0.8) << "skilled, championship from level " << first;
}

TEST_F(ShippedCurve, FreeTiersKeepTheirOrderForTheSkilledPlayer)
{
    EXPECT_GT(BareMean(81, 84), BareMean(91, 94));
    EXPECT_GT(BareMean(91, 94), BareMean(101, 104));
    EXPECT_GT(BareMean(101, 104), BareMean(106, 109));
}

// Where the casual player mostly loses, items and thought win twice as often,
// with the undo and without it.
TEST_F(ShippedCurve, ItemsAndThoughtWinTheHardBoardsTwiceAsOften)
{
    double casualHard = 0, previewedHard = 0, equippedHard = 0;
    for (int n : Reachable)
        if (Rate(n) < 0.5) {
            casualHard += Rate(n);
            previewedHard += Previewed(n);
            equippedHard += Equipped(n);
        }
    EXPECT_GE(previewedHard, 2 * casualHard) << "skilled with both AUTO-PREVIEWs";
    EXPECT_GE(equippedHard, 2 * casualHard) << "skilled with both AUTO-PREVIEWs and the undo";
}

// The last levels of the championships and the maniac tier, with more deals.
TEST_F(ShippedCurve, TheLastLevelsCanBeWonWithAllTheItems)
{
    EXPECT_GE(Last[40].SkilledWinRates[0], 0.4) << "normal level 40 with both AUTO-PREVIEWs and the undo";
    for (int n : {80, 106, 107, 108, 109})
        EXPECT_GE(Last[n].SkilledWinRates[0], 0.15) << "level " << n << " with both AUTO-PREVIEWs and the undo";
}
