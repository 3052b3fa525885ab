#include "Tables.h"

namespace {

// The ten board shapes, one constant array per field, indexed by shape id.
constexpr int32_t ShapeMinColumns[ShapeCount + 1] = {0, 4, 4, 4, 4, 4, 3, 4, 4, 5, 3};
constexpr int32_t ShapeMinRows[ShapeCount + 1] = {0, 10, 10, 11, 10, 10, 11, 9, 9, 7, 11};
constexpr int32_t ShapeMaxColumns[ShapeCount + 1] = {0, 10, 9, 9, 9, 9, 10, 9, 8, 10, 10};
constexpr int32_t ShapeMaxRows[ShapeCount + 1] = {0, 18, 20, 20, 19, 20, 18, 20, 20, 18, 18};
constexpr int32_t ShapeColumnCounts[ShapeCount + 1] = {0, 7, 6, 6, 6, 6, 8, 6, 5, 6, 8};
constexpr int32_t ShapeRowCounts[ShapeCount + 1] = {0, 9, 11, 10, 10, 11, 8, 12, 12, 12, 8};
constexpr int32_t ShapeCellCounts[ShapeCount + 1] = {0, 63, 66, 60, 60, 66, 64, 72, 60, 72, 64};

constexpr CarId Family1[] = {6, 18, 33, 41, 49, 59, 81, 82, 43};
constexpr CarId Family2[] = {1, 2, 7, 8, 14, 15, 20, 23, 27, 31, 32, 50, 53, 54, 55, 58, 65, 66, 72, 73, 75, 77, 79};
constexpr CarId Family3[] = {3, 4, 5, 9, 10, 12, 13, 16, 17, 19, 21, 22, 25, 28, 29, 35, 36,
                             37, 40, 46, 47, 48, 51, 57, 60, 61, 62, 64, 68, 69, 71, 76, 78};
constexpr CarId Family4[] = {11, 24, 26, 30, 34, 38, 39, 42, 44, 45, 52, 56, 63, 67, 70, 74, 80};

constexpr CarFamily Families[FamilyCount + 1] = {
    {nullptr, 0},
    {Family1, sizeof Family1 / sizeof(CarId)},
    {Family2, sizeof Family2 / sizeof(CarId)},
    {Family3, sizeof Family3 / sizeof(CarId)},
    {Family4, sizeof Family4 / sizeof(CarId)},
};

constexpr int32_t Block1[] = {1, 2};
constexpr int32_t Block2[] = {2};
constexpr int32_t Block3[] = {2, 3};
constexpr int32_t Block4[] = {3};
constexpr int32_t Block5[] = {1, 2, 3};
constexpr int32_t Block6[] = {4};
constexpr int32_t Block7[] = {3, 4};
constexpr int32_t Block8[] = {2, 3, 4};
constexpr int32_t Block9[] = {1, 2, 3, 4};

constexpr PoolRecipe Recipes[PoolTypeCount + 1] = {
    {nullptr, 0, 0, 0},
    {Block1, 2, 6, 32},
    {Block2, 1, 8, 23},
    {Block3, 2, 3, 56},
    {Block4, 1, 5, 33},
    {Block5, 3, 3, 65},
    {Block6, 1, 10, 17},
    {Block7, 2, 4, 50},
    {Block8, 3, 3, 73},
    {Block9, 4, 2, 82},
};

} // namespace

bool IsShapeId(int32_t id) { return id >= 1 && id <= ShapeCount; }
bool IsPoolType(int32_t id) { return id >= 1 && id <= PoolTypeCount; }

BoardShape ShapeById(int32_t id)
{
    if (!IsShapeId(id))
        return {};
    return {id,
            ShapeMinColumns[id],
            ShapeMinRows[id],
            ShapeMaxColumns[id],
            ShapeMaxRows[id],
            ShapeColumnCounts[id],
            ShapeRowCounts[id],
            ShapeCellCounts[id]};
}

CarFamily FamilyById(int32_t id)
{
    return Families[id >= 1 && id <= FamilyCount ? id : 0];
}

PoolRecipe RecipeByPoolType(int32_t poolType)
{
    return Recipes[IsPoolType(poolType) ? poolType : 0];
}
