#pragma once
// The figures of a measured level: what its deals hold and how often each
// player won them, summed deal by deal and closed into means and rates.
#include "model/Board.h"

#include <cstdint>
#include <string>
#include <vector>

// A figure over the deals of a level: the same in every deal unless Min < Max.
struct Spread {
    int32_t Min = 0;
    int32_t Max = 0;
    double Mean = 0;
};

struct LevelFigures {
    int32_t Level = 0;
    int32_t ShapeId = 0;
    int32_t PoolTypeId = 0;
    // Empty when the level is well-formed and was measured; else why not.
    std::string Problem;
    int32_t Deals = 0;
    Spread Cars;      // cars dealt
    Spread Hidden;    // cars hidden under a top at the deal
    Spread Deepest;   // cars in the fullest bay at the deal
    Spread Distinct;  // distinct car ids on the board
    double CasualWinRate = 0;
    double CarefulWinRate = 0;
    // One per set of items asked for, in the order asked.
    std::vector<double> SkilledWinRates;
    // Share of the deals the perfect-information solver cleared: 1 by construction.
    double SolverClearRate = 0;
};

// The games won over the deals of a level, player by player.
struct LevelWins {
    int32_t Casual = 0;
    int32_t Careful = 0;
    std::vector<int32_t> Skilled; // one per set of items
    int32_t Cleared = 0;          // by the solver
};

// Adds the board just dealt, deal `deal` (0, 1, …) of the level, to the spreads:
// until CloseFigures their Mean holds the sum.
void NoteDeal(LevelFigures& figures, const Board& dealt, int32_t deal);

// Sets the count of deals and turns the sums into means and the wins into rates.
void CloseFigures(LevelFigures& figures, int32_t deals, const LevelWins& wins);
