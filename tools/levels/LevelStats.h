#pragma once
// Measures how hard levels play: each deal of a level is played to its end
// through ClickBay by the casual and the careful player and by the skilled
// player once for each set of items, and cleared by the solver. For the level
// tool's stats and the tests that guard the curve.
#include "levels/LevelFile.h"
#include "model/PlayRules.h"
#include "tools/levels/LevelFigures.h"

#include <cstdint>
#include <vector>

// The generator's seed for deal k (0, 1, …) of a level; `base` picks another set.
uint32_t DealSeed(int32_t level, int32_t k, uint32_t base = 0);

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
