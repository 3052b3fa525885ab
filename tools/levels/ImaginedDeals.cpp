#include "tools/levels/ImaginedDeals.h"

#include "levels/Tables.h"

#include <algorithm>
#include <iterator>

namespace {

// The bay of `row` whose next car the deal placed latest among those that can
// go and fit `fits` (any car when 0; a car not seen yet always fits); -1 if none.
int32_t Latest(const SearchBoard& b, int32_t row, CarId fits, const SearchBoard& ids)
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

// The next pair of the deal taken backwards, from the latest car of each of the
// `n` rows `rows` still holding cars (fuller rows first): false when none fits.
bool LatestPair(const SearchBoard& play, const SearchBoard& ids, const int32_t* rows, int32_t n,
                const int32_t* latestOf, int32_t& a, int32_t& b)
{
    // The latest car of each row that can go; pairs of them in three kinds, the
    // surest first: two seen cars of one id, a seen car and an unseen one, two unseen.
    int32_t latest[MaxRows];
    for (int i = 0; i < n; ++i)
        latest[i] = latestOf[rows[i]];
    auto idOf = [&](int32_t bay) { return ids.Car[bay][play.Next[bay]]; };
    // Fuller rows first in each kind: the first id met twice; the first seen
    // car with the first unseen one; the first two unseen.
    a = -1;
    b = -1;
    int32_t unseen[2] = {-1, -1}, seenCar = -1;
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
    // No two latest cars fit: a seen latest car with any car that fits in another row.
    for (int i = 0; i < n && b < 0; ++i) {
        if (latest[i] < 0)
            continue;
        a = latest[i];
        for (int j = 0; j < n && b < 0; ++j)
            if (j != i)
                b = Latest(play, rows[j], idOf(a), ids);
    }
    return b >= 0;
}

} // namespace

ImaginedDeals::ImaginedDeals(const LevelRecord& level, int32_t pairs, uint64_t seed) : Random(seed)
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

double ImaginedDeals::OwedWeights(const SearchBoard& known, const int32_t* removed, double* weight) const
{
    int32_t seen[CarCount + 1] = {};
    for (int32_t bay = 0; bay < known.Bays(); ++bay)
        for (int8_t k = 0; k < known.End[bay]; ++k)
            ++seen[known.Car[bay][k]];
    double total = 0;
    for (const CarId car : PoolIds) {
        weight[car] = std::max(Expected[car] - (seen[car] + removed[car]) / 2.0, 0.0) + 0.25;
        total += weight[car];
    }
    return total;
}

// An id for a pair of unseen cars: one the deal still owes, by how many pairs
// of it the level's pool holds beyond those in sight or gone.
CarId ImaginedDeals::FreshId(double* weight, double& total)
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

bool ImaginedDeals::Imagine(const SearchBoard& known, const int32_t* removed, SearchBoard& ids)
{
    const BoardShape& shape = known.Shape;
    ids = known;
    SearchBoard& play = *Scratch;
    play = known;
    double weight[CarCount + 1];
    double total = OwedWeights(known, removed, weight);

    // The deal filled the rows evenly, so taken backwards they empty evenly:
    // fuller rows first, ties in an order drawn once for this board.
    int32_t rowCars[MaxRows] = {}, tie[MaxRows], rows[MaxRows], latestOf[MaxRows];
    for (int32_t bay = 0; bay < known.Bays(); ++bay)
        rowCars[SearchRow(shape, bay)] += play.End[bay];
    for (int32_t row = 0; row < shape.RowCount; ++row) {
        tie[row] = Random.Below(1 << 20);
        rows[row] = row;
        latestOf[row] = Latest(play, row, 0, ids);
    }
    auto before = [&](int32_t x, int32_t y) { return rowCars[x] != rowCars[y] ? rowCars[x] > rowCars[y] : tie[x] < tie[y]; };
    while (play.CarsLeft > 0) {
        for (int32_t i = 1; i < shape.RowCount; ++i)
            for (int32_t j = i; j > 0 && before(rows[j], rows[j - 1]); --j)
                std::swap(rows[j], rows[j - 1]);
        int32_t n = 0;
        while (n < shape.RowCount && rowCars[rows[n]] > 0)
            ++n;
        int32_t a, b;
        if (!LatestPair(play, ids, rows, n, latestOf, a, b))
            return false;
        CarId& first = ids.Car[a][play.Next[a]];
        CarId& second = ids.Car[b][play.Next[b]];
        if (first == 0 && second == 0)
            first = second = FreshId(weight, total);
        else if (first == 0)
            first = second;
        else if (second == 0)
            second = first;
        for (const int32_t bay : {a, b}) {
            const int32_t row = SearchRow(shape, bay);
            --rowCars[row];
            play.Take(bay);
            latestOf[row] = Latest(play, row, 0, ids);
        }
    }
    return true;
}
