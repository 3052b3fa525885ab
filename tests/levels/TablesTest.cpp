#include "levels/Tables.h"

#include <gtest/gtest.h>
#include <set>

TEST(Tables, ShapesMatchTheirBoundsAndFitTheGrid)
{
    const int expected[10][7] = {{4, 10, 10, 18, 7, 9, 63}, {4, 10, 9, 20, 6, 11, 66}, {4, 11, 9, 20, 6, 10, 60},
                                 {4, 10, 9, 19, 6, 10, 60}, {4, 10, 9, 20, 6, 11, 66}, {3, 11, 10, 18, 8, 8, 64},
                                 {4, 9, 9, 20, 6, 12, 72},  {4, 9, 8, 20, 5, 12, 60},  {5, 7, 10, 18, 6, 12, 72},
                                 {3, 11, 10, 18, 8, 8, 64}};
    for (int id = 1; id <= 10; ++id) {
        const BoardShape s = ShapeById(id);
        const int* e = expected[id - 1];
        EXPECT_EQ(s.ShapeId, id);
        EXPECT_EQ(s.MinColumn, e[0]);
        EXPECT_EQ(s.MinRow, e[1]);
        EXPECT_EQ(s.MaxColumn, e[2]);
        EXPECT_EQ(s.MaxRow, e[3]);
        EXPECT_EQ(s.ColumnCount, s.MaxColumn - s.MinColumn + 1);
        EXPECT_EQ(s.ColumnCount, e[4]);
        EXPECT_EQ(s.RowCount, e[5]);
        EXPECT_EQ(s.CellCount, e[6]);
        EXPECT_EQ(s.CellCount, s.ColumnCount * s.RowCount);
        EXPECT_GE(s.MinColumn, 3);
        EXPECT_LE(s.MaxColumn, 10);
        EXPECT_GE(s.MinRow, 7);
        EXPECT_LE(s.MaxRow, 20);
        EXPECT_LE(s.RowCount, 12);
        EXPECT_LE(s.CellCount, 72);
    }
}

TEST(Tables, FamiliesNameEveryCarOnce)
{
    std::multiset<CarId> all;
    const int lengths[4] = {9, 23, 33, 17};
    for (int f = 1; f <= 4; ++f) {
        const CarFamily family = FamilyById(f);
        EXPECT_EQ(family.Length, lengths[f - 1]);
        all.insert(family.Cars, family.Cars + family.Length);
    }
    ASSERT_EQ(all.size(), 82u);
    for (CarId id = 1; id <= 82; ++id)
        EXPECT_EQ(all.count(id), 1u) << id;
    EXPECT_EQ(FamilyById(1).Cars[0], 6);
    EXPECT_EQ(FamilyById(1).Cars[8], 43);
    EXPECT_EQ(FamilyById(4).Cars[16], 80);
}

TEST(Tables, RecipesBuildAtLeastTheWholePool)
{
    const int blockLengths[9] = {32, 23, 56, 33, 65, 17, 50, 73, 82};
    const int repeats[9] = {6, 8, 3, 5, 3, 10, 4, 3, 2};
    for (int t = 1; t <= 9; ++t) {
        const PoolRecipe r = RecipeByPoolType(t);
        int length = 0;
        for (int i = 0; i < r.FamilyCount; ++i)
            length += FamilyById(r.Families[i]).Length;
        EXPECT_EQ(length, blockLengths[t - 1]);
        EXPECT_EQ(r.BlockLength, length);
        EXPECT_EQ(r.Repeats, repeats[t - 1]);
        EXPECT_GE(length * r.Repeats, 164);
        EXPECT_LE(length * r.Repeats, 220);
    }
    EXPECT_EQ(RecipeByPoolType(9).FamilyCount, 4);
    EXPECT_EQ(RecipeByPoolType(6).Families[0], 4);
}

TEST(Tables, LookupsRefuseIdsOutOfRange)
{
    for (int32_t id : {0, 11, -1})
        EXPECT_EQ(ShapeById(id).CellCount, 0) << id;
    EXPECT_EQ(FamilyById(5).Length, 0);
    for (int32_t id : {0, 10})
        EXPECT_EQ(RecipeByPoolType(id).FamilyCount * RecipeByPoolType(id).Repeats, 0) << id;
}
