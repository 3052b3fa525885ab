#pragma once
#include "model/BoardShape.h"
#include "model/CarId.h"

#include <cstdint>

constexpr int ShapeCount = 10;
constexpr int FamilyCount = 4;
constexpr int PoolTypeCount = 9;

// A deal takes its pairs from a pool of 164 car ids, so a board holds at most 328 cars.
constexpr int32_t CarPoolSize = 164;
constexpr int32_t MostCars = 2 * CarPoolSize;

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

// An id out of range finds the empty entry: no bays, no cars, no families. The
// level check refuses such a level before anything looks it up.
BoardShape ShapeById(int32_t id);
CarFamily FamilyById(int32_t id);
PoolRecipe RecipeByPoolType(int32_t poolType);
