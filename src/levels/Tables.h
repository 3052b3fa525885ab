#pragma once
#include <cstdint>

using CarId = int32_t;

constexpr int ShapeCount = 10;
constexpr int FamilyCount = 4;
constexpr int PoolTypeCount = 9;

struct BoardShape {
    int32_t ShapeId = 0;
    int32_t MinColumn = 0;
    int32_t MinRow = 0;
    int32_t MaxColumn = 0;
    int32_t MaxRow = 0;
    int32_t ColumnCount = 0;
    int32_t RowCount = 0;
    int32_t CellCount = 0;
};

struct CarFamily {
    const CarId* Cars;
    int32_t Length;
};

// One block of whole families laid end to end, repeated Repeats times.
struct PoolRecipe {
    const int32_t* Families;
    int32_t FamilyCount;
    int32_t Repeats;
    int32_t BlockLength;
};

bool IsShapeId(int32_t id);
bool IsPoolType(int32_t id);

// Lookups throw GameError for an id out of range.
BoardShape ShapeById(int32_t id);
CarFamily FamilyById(int32_t id);
PoolRecipe RecipeByPoolType(int32_t poolType);
