#pragma once
// The skilled player's imagined deals: the cars it has not seen, filled in as
// the generator would have dealt them.
//
// The deal filled every row in its list order, one car of each pair into each
// of two rows, and the rows filled evenly. Taken backwards, each pair is the
// latest car of one row with the latest of another. So the imagined board is
// built by clearing the known one backwards: a row's latest car that can go,
// with the latest that can go of another row and fits (the same id, or a car
// not seen yet); a pair of unseen cars gets an id the deal still owes.
#include "levels/LevelFile.h"
#include "tools/levels/PlayerRandom.h"
#include "tools/levels/SearchBoard.h"

#include <cstdint>
#include <memory>
#include <vector>

class ImaginedDeals {
public:
    // For a board of `pairs` pairs dealt from `level`; `seed` fixes every draw.
    ImaginedDeals(const LevelRecord& level, int32_t pairs, uint64_t seed);

    // Fills every unseen car (0) of `known` into `out`; `removed` counts the cars
    // of each id gone from the board. False when the cars in sight fit no deal
    // taken backwards this way.
    bool Imagine(const SearchBoard& known, const int32_t* removed, SearchBoard& out);

private:
    // How many pairs of each id the deal still owes, as weights for FreshId;
    // returns their sum.
    double OwedWeights(const SearchBoard& known, const int32_t* removed, double* weight) const;
    CarId FreshId(double* weight, double& total);

    PlayerRandom Random;
    // Pairs of each id a deal of this level holds before the pool's light shuffle.
    double Expected[CarCount + 1] = {};
    std::vector<CarId> PoolIds;
    std::unique_ptr<SearchBoard> Scratch = std::make_unique<SearchBoard>();
};
