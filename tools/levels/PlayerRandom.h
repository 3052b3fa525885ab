#pragma once
// The simulated players' own random source, apart from the game's: a game played
// by a simulated player never moves the generator's state, and the same seed
// replays the same game.
#include <cstdint>

// SplitMix64's finaliser: spreads the bits of a seed or a key over the whole word.
uint64_t MixBits(uint64_t z);

// SplitMix64.
class PlayerRandom {
public:
    explicit PlayerRandom(uint64_t seed) : State(seed) {}
    uint64_t Next();
    // 0 … n − 1, for n ≥ 1.
    int32_t Below(int32_t n);

private:
    uint64_t State;
};
