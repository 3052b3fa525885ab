#pragma once
#include "core/GameError.h"
#include "levels/LevelFile.h"
#include "model/Board.h"
#include "model/BoardView.h"

#include <cstdint>

// The car ids a deal takes its pairs from: pair p gets entry p (1 … 164).
struct CarPool {
    CarId Entries[CarPoolSize] = {};
    CarId& operator()(int32_t p) { return Entries[p - 1]; }
    CarId operator()(int32_t p) const { return Entries[p - 1]; }
};

// Builds the pool of a pool type with its 100 draws of RandomBelow. Always true.
bool ChooseCars(int32_t poolType, CarPool& pool);

// What a deal did, for the callers that ask.
struct DealTrace {
    // Why the level was not dealt (DealRefusal's answer); empty after a deal.
    // A refusal changes nothing else here.
    GameError Refusal;
    int32_t Attempts = 0;
    // Each slot holds its pair number (1 … PairCount, the order of dealing), 0
    // where no car was dealt.
    BayGrid<Cell> Pairs;
};

// Why level `currentLevel` of the table cannot be dealt on shape `shapeId`: the
// first well-formedness condition it breaks, naming the level. Empty when it can.
GameError DealRefusal(const LevelTable& table, int32_t currentLevel, int32_t shapeId);

// Deals level `currentLevel` of the table (whose ShapeId is `shapeId`) into the
// board and draws it through the view, and returns true. A level that
// DealRefusal refuses is not dealt: false, the trace (when given) holds why, and
// nothing of the board, the pool or the view has changed.
bool InitMap(Board& board, BoardView& view, CarPool& pool, const LevelTable& table, int32_t currentLevel,
             int32_t shapeId, DealTrace* trace = nullptr);
