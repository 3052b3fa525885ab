#include "tools/levels/MoveChoice.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// The free car of every row (its first top car), and how many rows have one of each id.
struct Sight {
    int32_t FreeBay[MaxRows];
    CarId FreeCar[MaxRows];
    int8_t FreeOfId[CarCount + 1];
};

void SeeRow(const SearchBoard& b, Sight& sight, int32_t row)
{
    --sight.FreeOfId[sight.FreeCar[row]];
    sight.FreeBay[row] = -1;
    sight.FreeCar[row] = 0;
    const int32_t columns = b.Shape.ColumnCount;
    for (int32_t bay = row * columns; bay < (row + 1) * columns; ++bay)
        if (b.Shown[bay]) {
            sight.FreeBay[row] = bay;
            sight.FreeCar[row] = b.NextCar(bay);
            break;
        }
    ++sight.FreeOfId[sight.FreeCar[row]];
}

void FreeCars(const SearchBoard& b, Sight& sight)
{
    std::memset(sight.FreeOfId, 0, sizeof sight.FreeOfId);
    for (int32_t row = 0; row < b.Shape.RowCount; ++row) {
        sight.FreeCar[row] = 0;
        ++sight.FreeOfId[0];
        SeeRow(b, sight, row);
    }
}

// `b` holds 0 for every car the player cannot see; `seesUnder` lets it read
// the car beneath an emptied bay where `b` has one.
int32_t RevealScore(const SearchBoard& b, const Sight& sight, int32_t row, int32_t bay, bool seesUnder)
{
    const bool comesUpFree = sight.FreeBay[row] < 0 || bay < sight.FreeBay[row];
    const int32_t order = 4 * b.Order[bay][b.Next[bay]];
    if (seesUnder && comesUpFree)
        if (const CarId up = b.NextCar(bay))
            if (sight.FreeOfId[up] > (sight.FreeCar[row] == up))
                return order + 6; // a pair at once: worth a place and a half later in the deal
    return order + (sight.FreeBay[row] < 0 ? 2 : comesUpFree ? 1 : 0);
}

int32_t PairScore(const SearchBoard& b, int32_t x, int32_t y)
{
    const int8_t ox = b.Order[x][b.Next[x]], oy = b.Order[y][b.Next[y]];
    return 4 * (ox + oy) - std::abs(ox - oy);
}

// The rule of thumb alone, for the play-outs: false when it can do nothing.
bool FirstChoice(const SearchBoard& b, const Sight& sight, bool seesUnder, SkilledMove& m)
{
    const BoardShape& shape = b.Shape;
    int32_t best = -1;
    for (int32_t i = 0; i < shape.RowCount; ++i) {
        const CarId car = sight.FreeCar[i];
        if (car == 0 || sight.FreeOfId[car] < 2)
            continue;
        for (int32_t j = i + 1; j < shape.RowCount; ++j)
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
    for (int32_t bay = 0, row = 0; row < shape.RowCount; ++row)
        for (int32_t c = 0; c < shape.ColumnCount; ++c, ++bay)
            if (!b.Shown[bay] && b.HasCars(bay)) {
                const int32_t score = RevealScore(b, sight, row, bay, seesUnder);
                if (score > best) {
                    best = score;
                    m = {true, bay, bay};
                }
            }
    return best >= 0;
}

// The moves in sight with their scores by the rule of thumb: the pairs of free
// cars, else every reveal. True when the choice matters: three or more free cars
// share an id, or there are two reveals or more.
bool Candidates(const SearchBoard& k, std::vector<SkilledMove>& choices, std::vector<int32_t>& score)
{
    Sight sight;
    FreeCars(k, sight);
    const BoardShape& shape = k.Shape;
    bool choice = false;
    for (int32_t i = 0; i < shape.RowCount; ++i)
        for (int32_t j = i + 1; j < shape.RowCount; ++j)
            if (sight.FreeCar[i] != 0 && sight.FreeCar[i] == sight.FreeCar[j]) {
                choices.push_back({false, sight.FreeBay[i], sight.FreeBay[j]});
                choice = choice || sight.FreeOfId[sight.FreeCar[i]] > 2;
            }
    for (const SkilledMove& m : choices)
        score.push_back(PairScore(k, m.A, m.B));
    if (!choices.empty())
        return choice;
    for (int32_t bay = 0; bay < k.Bays(); ++bay)
        if (!k.Shown[bay] && k.HasCars(bay)) {
            choices.push_back({true, bay, bay});
            score.push_back(RevealScore(k, sight, SearchRow(shape, bay), bay, true));
        }
    return choices.size() > 1;
}

} // namespace

MoveChoice::MoveChoice(int32_t worlds, int32_t choices, bool seesUnder)
    : Choices(choices), SeesUnder(seesUnder), Worlds(static_cast<size_t>(std::max(worlds, 0)))
{
}

bool MoveChoice::Choose(const SearchBoard& known, const int32_t* removed, ImaginedDeals& imagined, SkilledMove& chosen)
{
    std::vector<SkilledMove> choices;
    std::vector<int32_t> score;
    const bool choice = Candidates(known, choices, score);
    if (choices.empty())
        return false;
    std::vector<size_t> rank(choices.size());
    for (size_t i = 0; i < rank.size(); ++i)
        rank[i] = i;
    std::stable_sort(rank.begin(), rank.end(), [&](size_t x, size_t y) { return score[x] > score[y]; });
    chosen = choices[rank[0]];
    if (!choice || Worlds.empty())
        return true;
    if (rank.size() > static_cast<size_t>(Choices))
        rank.resize(static_cast<size_t>(Choices));

    const int32_t worlds = ImagineWorlds(known, removed, imagined);
    if (worlds == 0)
        return true; // it cannot imagine a board that still clears: the rule of thumb will do

    // Every choice meets the same imagined boards; another beats the first
    // choice only by a clear margin.
    const int32_t margin = std::max<int32_t>(1, worlds / 8);
    int32_t best = Wins(chosen);
    for (size_t i = 1; i < rank.size() && best < worlds; ++i) {
        const int32_t n = Wins(choices[rank[i]]);
        if (n >= best + margin) {
            best = n;
            chosen = choices[rank[i]];
        }
    }
    return true;
}

// Each world gets four attempts; returns how many were imagined.
int32_t MoveChoice::ImagineWorlds(const SearchBoard& known, const int32_t* removed, ImaginedDeals& imagined)
{
    int32_t count = 0;
    for (World& w : Worlds) {
        w.Imagined = false;
        for (int attempt = 0; attempt < 4 && !w.Imagined; ++attempt)
            w.Imagined = imagined.Imagine(known, removed, w.Board);
        count += w.Imagined;
    }
    return count;
}

int32_t MoveChoice::Wins(const SkilledMove& first)
{
    int32_t n = 0;
    for (const World& w : Worlds)
        if (w.Imagined)
            n += PlaysOut(w.Board, first);
    return n;
}

bool MoveChoice::PlaysOut(const SearchBoard& world, const SkilledMove& first)
{
    SearchBoard& b = *Scratch;
    b = world;
    Sight sight;
    FreeCars(b, sight);
    for (SkilledMove m = first;;) {
        if (m.Reveal) {
            b.Shown[m.A] = true;
        } else {
            b.Take(m.A);
            b.Take(m.B);
            SeeRow(b, sight, SearchRow(b.Shape, m.B));
        }
        SeeRow(b, sight, SearchRow(b.Shape, m.A));
        if (b.CarsLeft == 0)
            return true;
        if (!FirstChoice(b, sight, SeesUnder, m))
            return false;
    }
}
