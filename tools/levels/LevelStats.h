#pragma once
// Measured difficulty of levels: real deals played to the end through ClickBay by
// two simulated players. For the level tool and the tests that guard the curve.
#include "deal/Generator.h"
#include "model/PlayRules.h"

#include <cstdint>
#include <string>
#include <vector>

// The generator's seed for deal k (0, 1, …) of a level; `base` picks another set.
uint32_t DealSeed(int32_t level, int32_t k, uint32_t base = 0);

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

// Search positions the solver may expand per deal when it measures a level; the
// hardest shipped deal needs a few tens of thousands.
constexpr int32_t SolverBudget = 2000000;

// Deals level `level` `deals` times (generator seeds DealSeed(level, 0 … deals − 1,
// base)) and plays every deal once as each player: casual, careful, the skilled
// player once for each set of `skilled` items, and the solver. Sets the game's
// random state; safe to call from several threads at once (the deals take turns).
LevelFigures MeasureLevel(const LevelTable& table, int32_t level, int32_t deals, uint32_t base = 0,
                          const std::vector<OptionFlags>& skilled = {});

// MeasureLevel for each of `levels`, shared out among `threads` threads (at
// least one); the figures come back in the order of `levels`, the same for any
// number of threads. What a thread throws is thrown here once all have ended.
std::vector<LevelFigures> MeasureLevels(const LevelTable& table, const std::vector<int32_t>& levels, int32_t deals,
                                        uint32_t base, const std::vector<OptionFlags>& skilled, int threads);

// Spearman's rank correlation, ties given their mean rank; 0 when either list is constant.
double SpearmanRho(const std::vector<double>& x, const std::vector<double>& y);
