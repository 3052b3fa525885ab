#include "tools/levels/SkilledPlayer.h"

#include "model/SilentView.h"
#include "tools/levels/PlayerRandom.h"
#include "tools/levels/Solver.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// What reaches the player's eyes: the car a reveal brings up and the preview box.
class Eyes : public SilentView {
public:
    BayPos LastShown;
    CarId LastShownCar = 0;
    CarId Preview = 0;

    void ShowCar(int32_t column, int32_t row, CarId car) override
    {
        LastShown = {column, row};
        LastShownCar = car;
    }
    void ShowPreview(CarId car) override { Preview = car; }
};

// What the player remembers of a bay: its top car (0 when emptied), how many
// cars are hidden beneath, and those of them it has seen (0 where not).
struct BayMemory {
    CarId Top = 0;
    int8_t Hidden = 0;
    CarId Below[SlotCount - 1] = {};
};

struct Move {
    bool Reveal = false;
    int32_t A = 0; // bay numbers of the search board
    int32_t B = 0;
};

// An imagined board: every hidden car filled in.
struct World {
    SearchBoard Board;
};

[[noreturn]] void Disagree(const char* what)
{
    throw std::logic_error(std::string("skilled player: ") + what);
}

} // namespace

struct SkilledPlayer::Impl {
    Impl(Board& board, const LevelRecord& level, const SkilledSettings& settings, uint64_t seed)
        : Real(board), Order(level), Settings(settings), Random(seed),
          Worlds(static_cast<size_t>(std::max(settings.Worlds, 1)))
    {
        Shape = board.CurrentShape;
        // The screen as the deal left it: top cars and hidden counts.
        for (int32_t bay = 0; bay < Bays(); ++bay) {
            const BayPos at = PositionOf(bay);
            Memory[bay].Top = board.Cells(at.Column, at.Row).Slot[0];
            Memory[bay].Hidden = static_cast<int8_t>(board.HiddenCount(at.Column, at.Row));
        }
        ExpectPairs(level, board.CarsLeft / 2);
    }

    bool Step(GameResult& result)
    {
        if (Real.CarsLeft == 0)
            return false;
        Look();
        Move move;
        if (!Choose(move))
            return false;
        Make(move, result);
        return true;
    }

private:
    Board& Real;
    BoardShape Shape;
    DealOrder Order;
    const SkilledSettings Settings;
    PlayerRandom Random;
    Eyes View;
    BayMemory Memory[MaxBays];
    int32_t Removed[CarCount + 1] = {};
    // Pairs of each id a deal of this level holds before the pool's light shuffle.
    double Expected[CarCount + 1] = {};
    std::vector<CarId> PoolIds;
    std::vector<World> Worlds;
    std::unique_ptr<SearchBoard> Known = std::make_unique<SearchBoard>();
    Solver Planner{200000};
    std::vector<SearchMove> PlanMoves;
    // Below this many unseen cars the imagined boards differ little: plan them.
    static constexpr int32_t FewUnseen = 32;
    std::unique_ptr<SearchBoard> Scratch = std::make_unique<SearchBoard>();

    int32_t Bays() const { return SearchBayCount(Shape); }
    BayPos PositionOf(int32_t bay) const { return SearchPosition(Shape, bay); }

    void ExpectPairs(const LevelRecord& level, int32_t pairs)
    {
        const PoolRecipe recipe = RecipeByPoolType(level.PoolTypeId);
        int32_t n = 0;
        for (int32_t repeat = 0; repeat < recipe.Repeats && n < pairs; ++repeat)
            for (int32_t f = 0; f < recipe.FamilyCount && n < pairs; ++f) {
                const CarFamily family = FamilyById(recipe.Families[f]);
                for (int32_t k = 0; k < family.Length && n < pairs; ++k, ++n)
                    Expected[family.Cars[k]] += 1;
            }
        for (CarId car = 1; car <= CarCount; ++car)
            if (Expected[car] > 0)
                PoolIds.push_back(car);
    }

    // --- Looking: the preview options, and reveals taken back with the undo.

    CarId PreviewUnder(int32_t bay)
    {
        const BayPos at = PositionOf(bay);
        View.Preview = 0;
        PointerMoveBay(Real, View, at, Settings.Items);
        if (View.Preview == 0)
            GameKeyUp(Real, View, KeySpace, true, Settings.Items);
        return View.Preview;
    }

    void Look()
    {
        const OptionFlags& o = Settings.Items;
        const bool underEmpty = o.PreviewEmpty || o.AutoPreviewEmpty;
        const bool underOccupied = o.PreviewOccupied || o.AutoPreviewOccupied;
        for (int32_t bay = 0; bay < Bays(); ++bay) {
            BayMemory& m = Memory[bay];
            if (m.Hidden > 0 && m.Below[0] == 0 && (m.Top ? underOccupied : underEmpty)) {
                m.Below[0] = PreviewUnder(bay);
                if (m.Below[0] == 0)
                    Disagree("a preview showed nothing over a bay with a hidden car");
            }
        }
        if (!o.Undo)
            return;
        // Reveal, read the car that came up and the one now beneath it, take the reveal back.
        for (int32_t bay = 0; bay < Bays(); ++bay) {
            BayMemory& m = Memory[bay];
            const bool second = m.Hidden >= 2 && m.Below[1] == 0 && underOccupied;
            if (m.Top != 0 || m.Hidden == 0 || (m.Below[0] != 0 && !second))
                continue;
            const BayPos at = PositionOf(bay);
            if (ClickBay(Real, View, at).Outcome != ClickOutcome::Revealed || View.LastShown != at)
                Disagree("a reveal to peek did not bring a car up");
            m.Below[0] = View.LastShownCar;
            if (second) {
                m.Below[1] = PreviewUnder(bay);
                if (m.Below[1] == 0)
                    Disagree("a preview showed nothing over a revealed bay");
            }
            GameKeyUp(Real, View, KeyBackspace, true, o);
            if (Real.Cells(at.Column, at.Row).Slot[0] != 0)
                Disagree("the undo did not take the reveal back");
        }
    }

    // --- What the player knows, as a search board with 0 for the cars it has not seen.

    void BuildKnown(SearchBoard& k) const
    {
        k.Shape = Shape;
        k.CarsLeft = 0;
        for (int32_t bay = 0; bay < Bays(); ++bay) {
            const BayMemory& m = Memory[bay];
            CarId cars[SlotCount];
            int8_t n = 0;
            if (m.Top)
                cars[n++] = m.Top;
            for (int8_t h = 0; h < m.Hidden; ++h)
                cars[n++] = m.Below[h];
            SetBay(k, Order, bay, cars, n, m.Top != 0);
        }
    }

    // --- Imagining the hidden cars as a deal would have placed them.
    //
    // The deal filled every row in its list order, one car of each pair into each
    // of two rows, and the rows filled evenly. Taken backwards, each pair is the
    // latest car of one row with the latest of another. So the imagined board is
    // built by clearing the known one backwards: a row's latest car that can go,
    // with the latest that can go of another row and fits (the same id, or a car
    // not seen yet); a pair of unseen cars gets an id the deal still owes.

    int32_t Latest(const SearchBoard& b, int32_t row, CarId fits, const SearchBoard& ids) const
    {
        int32_t bays[MaxBays];
        const int n = TakeableBays(b, row, bays);
        int32_t best = -1;
        for (int i = 0; i < n; ++i) {
            const CarId car = ids.Car[bays[i]][b.Next[bays[i]]];
            if (fits != 0 && car != 0 && car != fits)
                continue;
            if (best < 0 || b.Order[bays[i]][b.Next[bays[i]]] > b.Order[best][b.Next[best]])
                best = bays[i];
        }
        return best;
    }

    // An id for a pair of unseen cars: one the deal still owes, by how many pairs
    // of it the level's pool holds beyond those in sight or gone.
    CarId FreshId(double* weight, double& total)
    {
        double x = static_cast<double>(Random.Next() >> 11) / 9007199254740992.0 * total;
        for (const CarId car : PoolIds) {
            x -= weight[car];
            if (x < 0 || car == PoolIds.back()) {
                const double less = std::min(1.0, weight[car] - 0.25);
                weight[car] -= less;
                total -= less;
                return car;
            }
        }
        return PoolIds.front();
    }

    bool Imagine(World& w)
    {
        SearchBoard& ids = w.Board;
        ids = *Known;
        SearchBoard& play = *Scratch;
        play = *Known;
        int32_t seen[CarCount + 1] = {};
        for (int32_t bay = 0; bay < Bays(); ++bay)
            for (int8_t k = 0; k < ids.End[bay]; ++k)
                ++seen[ids.Car[bay][k]];
        double weight[CarCount + 1], total = 0;
        for (const CarId car : PoolIds) {
            weight[car] = std::max(Expected[car] - (seen[car] + Removed[car]) / 2.0, 0.0) + 0.25;
            total += weight[car];
        }

        // The deal filled the rows evenly, so taken backwards they empty evenly:
        // fuller rows first, ties in an order drawn once for this board.
        int32_t rowCars[MaxRows] = {}, tie[MaxRows], rows[MaxRows], latestOf[MaxRows];
        for (int32_t bay = 0; bay < Bays(); ++bay)
            rowCars[SearchRow(Shape, bay)] += play.End[bay];
        for (int32_t row = 0; row < Shape.RowCount; ++row) {
            tie[row] = Random.Below(1 << 20);
            rows[row] = row;
            latestOf[row] = Latest(play, row, 0, ids);
        }
        auto before = [&](int32_t x, int32_t y) { return rowCars[x] != rowCars[y] ? rowCars[x] > rowCars[y] : tie[x] < tie[y]; };
        while (play.CarsLeft > 0) {
            for (int32_t i = 1; i < Shape.RowCount; ++i)
                for (int32_t j = i; j > 0 && before(rows[j], rows[j - 1]); --j)
                    std::swap(rows[j], rows[j - 1]);
            int32_t n = 0;
            while (n < Shape.RowCount && rowCars[rows[n]] > 0)
                ++n;
            // The latest car of each row that can go; pairs of them in three kinds, the
            // surest first: two seen cars of one id, a seen car and an unseen one, two unseen.
            int32_t latest[MaxRows];
            for (int i = 0; i < n; ++i)
                latest[i] = latestOf[rows[i]];
            auto idOf = [&](int32_t bay) { return ids.Car[bay][play.Next[bay]]; };
            // Fuller rows first in each kind: the first id met twice; the first seen
            // car with the first unseen one; the first two unseen.
            int32_t a = -1, b = -1, unseen[2] = {-1, -1}, seenCar = -1;
            int32_t firstOf[CarCount + 1];
            std::fill(std::begin(firstOf), std::end(firstOf), -1);
            for (int i = 0; i < n && b < 0; ++i) {
                const int32_t bay = latest[i];
                if (bay < 0)
                    continue;
                const CarId car = idOf(bay);
                if (car == 0) {
                    if (unseen[0] < 0)
                        unseen[0] = bay;
                    else if (unseen[1] < 0)
                        unseen[1] = bay;
                } else if (firstOf[car] >= 0) {
                    a = firstOf[car];
                    b = bay;
                } else {
                    firstOf[car] = bay;
                    if (seenCar < 0)
                        seenCar = bay;
                }
            }
            if (b < 0 && seenCar >= 0 && unseen[0] >= 0) {
                a = seenCar;
                b = unseen[0];
            } else if (b < 0 && unseen[1] >= 0) {
                a = unseen[0];
                b = unseen[1];
            }
            if (b < 0) {
                // No two latest cars fit: a seen latest car with any car that fits in another row.
                for (int i = 0; i < n && b < 0; ++i) {
                    if (latest[i] < 0)
                        continue;
                    a = latest[i];
                    for (int j = 0; j < n && b < 0; ++j)
                        if (j != i)
                            b = Latest(play, rows[j], idOf(a), ids);
                }
                if (b < 0) {
                    return false;
                }
            }
            CarId& first = ids.Car[a][play.Next[a]];
            CarId& second = ids.Car[b][play.Next[b]];
            if (first == 0 && second == 0)
                first = second = FreshId(weight, total);
            else if (first == 0)
                first = second;
            else if (second == 0)
                second = first;
            for (const int32_t bay : {a, b}) {
                const int32_t row = SearchRow(Shape, bay);
                --rowCars[row];
                play.Take(bay);
                latestOf[row] = Latest(play, row, 0, ids);
            }
        }
        return true;
    }

    // --- Choosing.
    //
    // The first choice is a rule of thumb over what is in sight: a pair of free
    // cars whenever there is one, else a reveal; first the reveal that brings up
    // a car seen in a preview whose partner is free, then the car the deal placed
    // latest (it is the likeliest to find its partner in sight), a car that comes
    // up free before one that comes up behind its row's free car. The search
    // weighs the choices that matter (which pair of three or more free cars of
    // one id, and which reveal) by playing each out with the rule of thumb in
    // every imagined board.

    // The free car of every row (its first top car), and how many rows have one of each id.
    struct Sight {
        int32_t FreeBay[MaxRows];
        CarId FreeCar[MaxRows];
        int8_t FreeOfId[CarCount + 1];
    };

    void SeeRow(const SearchBoard& b, Sight& sight, int32_t row) const
    {
        --sight.FreeOfId[sight.FreeCar[row]];
        sight.FreeBay[row] = -1;
        sight.FreeCar[row] = 0;
        for (int32_t bay = row * Shape.ColumnCount; bay < (row + 1) * Shape.ColumnCount; ++bay)
            if (b.Shown[bay]) {
                sight.FreeBay[row] = bay;
                sight.FreeCar[row] = b.NextCar(bay);
                break;
            }
        ++sight.FreeOfId[sight.FreeCar[row]];
    }

    void FreeCars(const SearchBoard& b, Sight& sight) const
    {
        std::memset(sight.FreeOfId, 0, sizeof sight.FreeOfId);
        for (int32_t row = 0; row < Shape.RowCount; ++row) {
            sight.FreeCar[row] = 0;
            ++sight.FreeOfId[0];
            SeeRow(b, sight, row);
        }
    }

    // `b` holds 0 for every car the player cannot see; `seesUnder` lets it read
    // the car beneath an emptied bay where `b` has one.
    static int32_t RevealScore(const SearchBoard& b, const Sight& sight, int32_t row, int32_t bay, bool seesUnder)
    {
        const bool comesUpFree = sight.FreeBay[row] < 0 || bay < sight.FreeBay[row];
        const int32_t order = 4 * b.Order[bay][b.Next[bay]];
        if (seesUnder && comesUpFree)
            if (const CarId up = b.NextCar(bay))
                if (sight.FreeOfId[up] > (sight.FreeCar[row] == up))
                    return order + 6; // a pair at once: worth a place and a half later in the deal
        return order + (sight.FreeBay[row] < 0 ? 2 : comesUpFree ? 1 : 0);
    }

    static int32_t PairScore(const SearchBoard& b, int32_t x, int32_t y)
    {
        const int8_t ox = b.Order[x][b.Next[x]], oy = b.Order[y][b.Next[y]];
        return 4 * (ox + oy) - std::abs(ox - oy);
    }

    // The rule of thumb alone, for the play-outs: false when it can do nothing.
    bool FirstChoice(const SearchBoard& b, const Sight& sight, bool seesUnder, Move& m) const
    {
        int32_t best = -1;
        for (int32_t i = 0; i < Shape.RowCount; ++i) {
            const CarId car = sight.FreeCar[i];
            if (car == 0 || sight.FreeOfId[car] < 2)
                continue;
            for (int32_t j = i + 1; j < Shape.RowCount; ++j)
                if (sight.FreeCar[j] == car) {
                    const int32_t score = PairScore(b, sight.FreeBay[i], sight.FreeBay[j]);
                    if (score > best) {
                        best = score;
                        m = {false, sight.FreeBay[i], sight.FreeBay[j]};
                    }
                }
        }
        if (best >= 0)
            return true;
        for (int32_t bay = 0, row = 0; row < Shape.RowCount; ++row)
            for (int32_t c = 0; c < Shape.ColumnCount; ++c, ++bay)
                if (!b.Shown[bay] && b.HasCars(bay)) {
                    const int32_t score = RevealScore(b, sight, row, bay, seesUnder);
                    if (score > best) {
                        best = score;
                        m = {true, bay, bay};
                    }
                }
        return best >= 0;
    }

    bool PlaysOut(const World& w, const Move& first)
    {
        SearchBoard& b = *Scratch;
        b = w.Board;
        Sight sight;
        FreeCars(b, sight);
        const bool seesUnder = SeesUnderEmptied();
        for (Move m = first;;) {
            if (m.Reveal) {
                b.Shown[m.A] = true;
            } else {
                b.Take(m.A);
                b.Take(m.B);
                SeeRow(b, sight, SearchRow(Shape, m.B));
            }
            SeeRow(b, sight, SearchRow(Shape, m.A));
            if (b.CarsLeft == 0)
                return true;
            if (!FirstChoice(b, sight, seesUnder, m))
                return false;
        }
    }

    bool SeesUnderEmptied() const
    {
        const OptionFlags& o = Settings.Items;
        return o.PreviewEmpty || o.AutoPreviewEmpty || o.Undo;
    }

    // The first move of a plan that clears `board` (a reveal where a planned car
    // lies under an emptied bay); false when no plan clears it.
    bool FirstPlannedMove(const SearchBoard& board, Move& move)
    {
        *Scratch = board;
        if (Planner.Solve(*Scratch, &PlanMoves) != SolveOutcome::Cleared || PlanMoves.empty())
            return false;
        // The plan reveals a bay only to take the car that comes up.
        for (const int32_t bay : {int32_t{PlanMoves[0].First}, int32_t{PlanMoves[0].Second}})
            if (!board.Shown[bay]) {
                move = {true, bay, bay};
                return true;
            }
        move = {false, PlanMoves[0].First, PlanMoves[0].Second};
        return true;
    }

    // With every car left in sight (the previews show what is under every bay,
    // the undo what is under that), there is nothing to imagine: it plans the
    // whole clearing and makes its first move. False when it makes no planned move.
    bool Plan(Move& chosen)
    {
        const SearchBoard& k = *Known;
        int32_t unseen = 0;
        bool nextUnseen = false;
        for (int32_t bay = 0; bay < Bays(); ++bay) {
            for (int8_t i = k.Next[bay]; i < k.End[bay]; ++i)
                unseen += k.Car[bay][i] == 0;
            nextUnseen = nextUnseen || (!k.Shown[bay] && k.HasCars(bay) && k.NextCar(bay) == 0);
        }
        if (unseen == 0)
            return FirstPlannedMove(k, chosen);
        // Plans of imagined boards are only as good as the imagined cars: it
        // plans when it knows every car a reveal would bring up now.
        if (unseen > FewUnseen || nextUnseen || Settings.Worlds <= 0)
            return false;
        // A few cars unseen: each imagined board proposes the first move of its
        // own plan, and the move most of them propose is made.
        std::vector<std::pair<Move, int32_t>> votes;
        for (size_t i = 0; i < Worlds.size(); ++i) {
            Move m;
            if (!Imagine(Worlds[0]) || !FirstPlannedMove(Worlds[0].Board, m))
                continue;
            auto same = [&](const std::pair<Move, int32_t>& v) {
                return v.first.Reveal == m.Reveal && v.first.A == m.A && v.first.B == m.B;
            };
            const auto found = std::find_if(votes.begin(), votes.end(), same);
            if (found == votes.end())
                votes.push_back({m, 1});
            else
                ++found->second;
        }
        if (votes.empty())
            return false;
        chosen = std::max_element(votes.begin(), votes.end(), [](const auto& x, const auto& y) { return x.second < y.second; })->first;
        return true;
    }

    bool Choose(Move& chosen)
    {
        BuildKnown(*Known);
        const SearchBoard& k = *Known;
        if (Plan(chosen))
            return true;
        Sight sight;
        FreeCars(k, sight);

        // Pairs of free cars, best first; the search only weighs them when three or
        // more free cars share an id.
        std::vector<Move> choices;
        bool choice = false;
        for (int32_t i = 0; i < Shape.RowCount; ++i)
            for (int32_t j = i + 1; j < Shape.RowCount; ++j)
                if (sight.FreeCar[i] != 0 && sight.FreeCar[i] == sight.FreeCar[j]) {
                    choices.push_back({false, sight.FreeBay[i], sight.FreeBay[j]});
                    choice = choice || sight.FreeOfId[sight.FreeCar[i]] > 2;
                }
        std::vector<int32_t> score;
        for (const Move& m : choices)
            score.push_back(PairScore(k, m.A, m.B));
        if (choices.empty()) {
            for (int32_t bay = 0; bay < Bays(); ++bay)
                if (!k.Shown[bay] && k.HasCars(bay)) {
                    choices.push_back({true, bay, bay});
                    score.push_back(RevealScore(k, sight, SearchRow(Shape, bay), bay, true));
                }
            choice = choices.size() > 1;
        }
        if (choices.empty())
            return false;
        std::vector<size_t> rank(choices.size());
        for (size_t i = 0; i < rank.size(); ++i)
            rank[i] = i;
        std::stable_sort(rank.begin(), rank.end(), [&](size_t x, size_t y) { return score[x] > score[y]; });
        chosen = choices[rank[0]];
        if (!choice || Settings.Worlds <= 0)
            return true;
        if (rank.size() > static_cast<size_t>(Settings.Choices))
            rank.resize(static_cast<size_t>(Settings.Choices));

        size_t worlds = 0;
        for (size_t i = 0; i < Worlds.size(); ++i)
            for (int attempt = 0; attempt < 4; ++attempt)
                if (Imagine(Worlds[worlds])) {
                    ++worlds;
                    break;
                }
        if (worlds == 0)
            return true; // it cannot imagine a board that still clears: the rule of thumb will do

        // Every choice meets the same imagined boards; another beats the first
        // choice only by a clear margin.
        auto wins = [&](const Move& m) {
            int32_t n = 0;
            for (size_t i = 0; i < worlds; ++i)
                n += PlaysOut(Worlds[i], m);
            return n;
        };
        const int32_t margin = std::max<int32_t>(1, static_cast<int32_t>(worlds) / 8);
        int32_t best = wins(chosen);
        for (size_t i = 1; i < rank.size() && best < static_cast<int32_t>(worlds); ++i) {
            const int32_t n = wins(choices[rank[i]]);
            if (n >= best + margin) {
                best = n;
                chosen = choices[rank[i]];
            }
        }
        return true;
    }

    // --- Playing a move through the game's handlers.

    void Make(const Move& m, GameResult& result)
    {
        if (m.Reveal) {
            const BayPos at = PositionOf(m.A);
            if (ClickBay(Real, View, at).Outcome != ClickOutcome::Revealed || View.LastShown != at)
                Disagree("a reveal did not bring a car up");
            BayMemory& mem = Memory[m.A];
            if (mem.Below[0] != 0 && mem.Below[0] != View.LastShownCar)
                Disagree("the revealed car is not the one seen in the preview");
            mem.Top = View.LastShownCar;
            std::memmove(mem.Below, mem.Below + 1, sizeof(CarId) * (SlotCount - 2));
            mem.Below[SlotCount - 2] = 0;
            --mem.Hidden;
            ++result.Reveals;
            return;
        }
        const CarId car = Memory[m.A].Top;
        if (ClickBay(Real, View, PositionOf(m.A)).Outcome != ClickOutcome::Selected ||
            ClickBay(Real, View, PositionOf(m.B)).Outcome != ClickOutcome::PairRemoved)
            Disagree("a pair of free cars was not removed");
        Memory[m.A].Top = Memory[m.B].Top = 0;
        Removed[car] += 2;
        ++result.Pairs;
    }
};

SkilledPlayer::SkilledPlayer(Board& board, const LevelRecord& level, const SkilledSettings& settings, uint64_t seed)
    : P(std::make_unique<Impl>(board, level, settings, seed))
{
}

SkilledPlayer::~SkilledPlayer() = default;

bool SkilledPlayer::Step(GameResult& result) { return P->Step(result); }

GameResult PlayOutSkilled(Board& board, const LevelRecord& level, const SkilledSettings& settings, uint64_t seed)
{
    SkilledPlayer player(board, level, settings, seed);
    GameResult result;
    while (player.Step(result)) {
    }
    result.Won = board.CarsLeft == 0;
    return result;
}

bool ParseItems(const char* text, OptionFlags& items)
{
    items = OptionFlags{};
    std::string all = text;
    size_t start = 0;
    while (start <= all.size()) {
        const size_t end = std::min(all.find_first_of(",+", start), all.size());
        const std::string name = all.substr(start, end - start);
        if (name == "none")
            ;
        else if (name == "undo")
            items.Undo = true;
        else if (name == "preview-empty")
            items.PreviewEmpty = true;
        else if (name == "preview-occupied")
            items.PreviewOccupied = true;
        else if (name == "previews")
            items.PreviewEmpty = items.PreviewOccupied = true;
        else if (name == "auto-preview-empty")
            items.AutoPreviewEmpty = true;
        else if (name == "auto-preview-occupied")
            items.AutoPreviewOccupied = true;
        else if (name == "auto-previews")
            items.AutoPreviewEmpty = items.AutoPreviewOccupied = true;
        else
            return false;
        start = end + 1;
    }
    return true;
}

std::string ItemsName(const OptionFlags& items)
{
    std::string name;
    auto add = [&](const char* part) { name += (name.empty() ? "" : "+") + std::string(part); };
    if (items.PreviewEmpty && items.PreviewOccupied)
        add("previews");
    else if (items.PreviewEmpty)
        add("preview-empty");
    else if (items.PreviewOccupied)
        add("preview-occupied");
    if (items.AutoPreviewEmpty && items.AutoPreviewOccupied)
        add("auto-previews");
    else if (items.AutoPreviewEmpty)
        add("auto-preview-empty");
    else if (items.AutoPreviewOccupied)
        add("auto-preview-occupied");
    if (items.Undo)
        add("undo");
    return name.empty() ? "none" : name;
}
