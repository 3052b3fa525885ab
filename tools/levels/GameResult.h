#pragma once
// How a simulated player's game ended, for every player of the level tool.
#include <cstdint>

struct GameResult {
    bool Won = false;
    int32_t Pairs = 0;
    int32_t Reveals = 0;
};
