#pragma once
#include <cstdint>

// The game's one random source: a 32-bit linear congruential generator whose
// sequence is part of the game (the same state deals the same board).
int32_t RandomBelow(int32_t n);

// Seeds from the UTC time of day in milliseconds; called once at start-up.
void SeedRandom();

uint32_t RandomState();
void SetRandomState(uint32_t state);
