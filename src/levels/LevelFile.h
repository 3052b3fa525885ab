#pragma once
#include "core/GameError.h"
#include "levels/Tables.h"

#include <array>
#include <cstdint>
#include <string>

constexpr int MaxPositions = 41;
constexpr int LevelCount = 110;

// 100 × slot + column: slot 0 is the visible top of the bay.
using PositionCode = int32_t;
inline int32_t CodeColumn(PositionCode code) { return code % 100; }
inline int32_t CodeSlot(PositionCode code) { return code / 100; }

// One level: a shape, a pool recipe and the positions of one row in deal order.
// Field k of the file record is FieldAt(k): 0 shape, 1 pool type, 2…42 positions, 43 count.
struct LevelRecord {
    int32_t ShapeId = 0;
    int32_t PoolTypeId = 0;
    PositionCode Positions[MaxPositions] = {};
    int32_t PositionCount = 0;

    int32_t& FieldAt(int k);
};

inline bool IsLevelNumber(int32_t number) { return number >= 1 && number <= LevelCount; }

class LevelTable {
public:
    // Levels are numbered 1 … 110 (IsLevelNumber); callers check a number they
    // did not make themselves. Another number never reads past the table.
    LevelRecord& Level(int32_t number);
    const LevelRecord& Level(int32_t number) const;

private:
    std::array<LevelRecord, LevelCount> Records{};
};

// Reads `map/level.ini` below the program folder into the table. The failure
// comes back: the file's error ("File not found"), or the first token that is
// not a number, with the records read before it filled.
GameError LoadLevelTable(const std::string& programFolder, LevelTable& table);
// Reads a level file given by its own path.
GameError LoadLevelFile(const std::string& path, LevelTable& table);
// Reads level text already in memory (the file's bytes).
GameError ParseLevelText(const std::string& bytes, LevelTable& table);
