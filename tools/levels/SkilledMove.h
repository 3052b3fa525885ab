#pragma once
// A move of the skilled player, which its plan or its choice proposes and it
// then makes through the game's handlers.
#include <cstdint>

struct SkilledMove {
    bool Reveal = false;
    int32_t A = 0; // bay numbers of the search board: the two cars of a pair,
    int32_t B = 0; // or twice the bay to reveal

    bool operator==(const SkilledMove& other) const
    {
        return Reveal == other.Reveal && A == other.A && B == other.B;
    }
};
