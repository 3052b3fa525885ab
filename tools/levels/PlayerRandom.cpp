#include "tools/levels/PlayerRandom.h"

uint64_t MixBits(uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t PlayerRandom::Next()
{
    State += 0x9E3779B97F4A7C15ull;
    return MixBits(State);
}

int32_t PlayerRandom::Below(int32_t n)
{
    return static_cast<int32_t>(((Next() >> 32) * static_cast<uint64_t>(n)) >> 32);
}
