#include "levels/LevelBuilder.h"
#include "levels/CheckLevel.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <initializer_list>

namespace {

// The single problem found, or "" when there is not exactly one.
std::string OnlyProblem(const LevelRecord& r)
{
    const auto p = CheckLevel(r);
    return p.size() == 1 ? p[0] : (p.empty() ? "" : "several: " + p[0] + " | " + p[1]);
}

} // namespace

TEST(CheckLevel, AcceptsWellFormedRows)
{
    EXPECT_TRUE(CheckLevel(Level(4, 2, {204, 104, 5, 4})).empty());
    EXPECT_TRUE(CheckLevel(Level(6, 2, {10, 9, 8, 7, 6, 5, 4, 3})).empty());
    EXPECT_TRUE(CheckLevel(Level(6, 9, {3})).empty());
    // Tops left to right first, then the hidden cars: 105 comes up once column 4 is empty.
    EXPECT_TRUE(CheckLevel(Level(4, 9, {105, 104, 5, 4})).empty());
}

TEST(CheckLevel, NamesEachBrokenCondition)
{
    EXPECT_NE(OnlyProblem(Level(0, 2, {4})).find("board shape 0"), std::string::npos);
    EXPECT_NE(OnlyProblem(Level(4, 10, {5, 4})).find("pool type 10"), std::string::npos);

    LevelRecord noDash = Level(4, 2, {});
    EXPECT_NE(OnlyProblem(noDash).find("no positions"), std::string::npos);
    noDash.PositionCount = -2;
    EXPECT_NE(OnlyProblem(noDash).find("-2"), std::string::npos);

    EXPECT_NE(OnlyProblem(Level(4, 2, {3, 5, 4})).find("outside the board"), std::string::npos);
    EXPECT_NE(OnlyProblem(Level(4, 2, {605, 5, 4})).find("outside the board"), std::string::npos);
    EXPECT_NE(OnlyProblem(Level(4, 2, {5, 5, 4})).find("listed twice"), std::string::npos);
    EXPECT_NE(OnlyProblem(Level(4, 2, {204, 5, 4})).find("slot 2 but none in slot 1"), std::string::npos);

    EXPECT_NE(OnlyProblem(Level(4, 2, {4, 5})).find("must be 4"), std::string::npos);

    // Shape 1 has 9 rows: 9 × 1 cars is odd. Shape 7 has 12 rows: 12 × 28 > 328.
    EXPECT_NE(OnlyProblem(Level(1, 2, {4})).find("odd"), std::string::npos);
    LevelRecord big = Level(7, 2, {});
    for (int column = 9; column >= 4; --column)
        for (int slot = 4; slot >= 0; --slot)
            big.Positions[big.PositionCount++] = slot * 100 + column;
    // Drop column 9's two deepest cars: 28 positions, still a legal row.
    std::copy(big.Positions + 2, big.Positions + 30, big.Positions);
    big.PositionCount = 28;
    EXPECT_NE(OnlyProblem(big).find("164 pairs"), std::string::npos);
}

TEST(CheckLevel, SimulatesEmptyingARowInReverse)
{
    // Reverse: 4 then 5, but 5 hides under nothing and 105 would need 5 removed while col 4 has 104 on top.
    EXPECT_NE(OnlyProblem(Level(4, 9, {5, 105, 104, 4})).find("is still covered by position 5"), std::string::npos);
    // Column 4 empties, but 6 is due while 5 still stands before it.
    EXPECT_NE(OnlyProblem(Level(4, 9, {5, 6, 104, 4})).find("blocked by position 5"), std::string::npos);
    // Column 6 stands behind column 5 that is still full when 6 is due.
    EXPECT_NE(OnlyProblem(Level(4, 9, {5, 6, 4})).find("blocked by position 5"), std::string::npos);
}
