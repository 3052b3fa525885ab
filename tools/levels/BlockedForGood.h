#pragma once
// When a car can never leave the board: what the careful player looks out for.
#include "model/Board.h"

#include <cstdint>

// One car on the board: its bay and its slot (0 = the top).
struct CarSpot {
    BayPos Bay;
    int32_t Slot = 0;
};

// Car `waiting` waits on car `other` when `other` must be gone before `waiting`
// can be free: both stand in one row, and `other` is above `waiting` in the same
// bay or is the top car of a bay in a lower column. A car hidden under an emptied
// lower bay does not count: it comes up only if the player reveals it.
bool WaitsOn(CarSpot waiting, CarSpot other);

// A car is blocked for good when every other car of its id on the board waits on
// it. It can only leave together with one of them, and none of them can become
// free while it is there, so the board can no longer be cleared.
bool IsBlockedForGood(const Board& board, CarSpot car);
