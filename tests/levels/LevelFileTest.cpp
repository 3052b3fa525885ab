#include "levels/CheckLevel.h"
#include "levels/LevelFile.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

// A level line padded with blanks to at least `width` characters.
std::string Line(const std::string& text, size_t width = 60)
{
    std::string line = text;
    if (line.size() < width)
        line.append(width - line.size(), ' ');
    return line;
}

const std::string Shape4 = "L001004,002,204,104,005,004,---,";

std::string ErrorOf(const std::string& text, LevelTable& table) { return ParseLevelText(text, table).Message(); }

} // namespace

TEST(LevelFile, ReadsTheFixedFields)
{
    LevelTable table;
    EXPECT_FALSE(ParseLevelText(Line(Shape4) + "\r\n" + Line("xx    6;  9- 10|009x008 007 006 005 004 003 --- trailing 1 2 3"), table));
    const LevelRecord& a = table.Level(1);
    EXPECT_EQ(a.ShapeId, 4);
    EXPECT_EQ(a.PoolTypeId, 2);
    EXPECT_EQ(a.PositionCount, 4);
    EXPECT_EQ(a.Positions[0], 204);
    EXPECT_EQ(a.Positions[3], 4);
    // Separators are never examined and leading blanks are allowed in a token.
    const LevelRecord& b = table.Level(2);
    EXPECT_EQ(b.ShapeId, 6);
    EXPECT_EQ(b.PoolTypeId, 9);
    EXPECT_EQ(b.PositionCount, 8);
    EXPECT_EQ(b.Positions[0], 10);
    EXPECT_EQ(b.Positions[7], 3);
}

TEST(LevelFile, ADashAnywhereInATokenEndsTheList)
{
    LevelTable table;
    EXPECT_FALSE(ParseLevelText(Line("L1  -01,") + "\n" + Line("L2  003,0-0,zzz") + "\n" + Line("L3  003,002,005,10-,not a number"),
                   table));
    EXPECT_EQ(table.Level(1).PositionCount, -2);
    EXPECT_EQ(table.Level(1).ShapeId, 0);
    EXPECT_EQ(table.Level(2).PositionCount, -1);
    EXPECT_EQ(table.Level(2).ShapeId, 3);
    EXPECT_EQ(table.Level(3).PositionCount, 1);
    EXPECT_EQ(table.Level(3).Positions[0], 5);
}

TEST(LevelFile, IgnoresLinesUnderSixtyCharacters)
{
    LevelTable table;
    EXPECT_FALSE(ParseLevelText(Line(Shape4, 59) + "\r\n" + Line(Shape4, 60) + "\r\n", table));
    EXPECT_EQ(table.Level(1).ShapeId, 0);
    EXPECT_EQ(table.Level(2).ShapeId, 4);
}

TEST(LevelFile, AcceptsEveryLineEndAndStopsAtControlZ)
{
    for (const std::string end : {"\r\n", "\r", "\n"}) {
        LevelTable table;
        EXPECT_FALSE(ParseLevelText(Line(Shape4) + end + Line(Shape4) + end + "\x1a" + Line(Shape4), table));
        EXPECT_EQ(table.Level(1).ShapeId, 4);
        EXPECT_EQ(table.Level(2).ShapeId, 4);
        EXPECT_EQ(table.Level(3).ShapeId, 0) << "after ^Z";
        EXPECT_EQ(table.Level(110).ShapeId, 0);
    }
    // An empty line between two lines counts as a line.
    LevelTable table;
    EXPECT_FALSE(ParseLevelText(Line(Shape4) + "\n\n" + Line(Shape4), table));
    EXPECT_EQ(table.Level(2).ShapeId, 0);
    EXPECT_EQ(table.Level(3).ShapeId, 4);
}

TEST(LevelFile, AMegabyteLongLineReadsLikeAShortOne)
{
    LevelTable table;
    EXPECT_FALSE(ParseLevelText(Line(Shape4) + std::string(1 << 20, 'x') + "\r\n" + Line(Shape4), table));
    EXPECT_EQ(table.Level(1).PositionCount, 4);
    EXPECT_EQ(table.Level(2).ShapeId, 4);
}

TEST(LevelFile, ReadsOnlyTheFirst110Lines)
{
    std::string text;
    for (int i = 0; i < 111; ++i)
        text += Line(i == 110 ? "L111004,009,bad" : Shape4) + "\r\n";
    LevelTable table;
    EXPECT_FALSE(ParseLevelText(text, table));
    EXPECT_EQ(table.Level(110).ShapeId, 4);
}

TEST(LevelFile, ALineCutInATokenKeepsTheCharactersLeft)
{
    std::string line = "L001004,002";
    for (int i = 0; i < 12; ++i)
        line += ",005";
    line += ",4";
    ASSERT_EQ(line.size(), 61u);
    LevelTable table;
    EXPECT_FALSE(ParseLevelText(line, table));
    EXPECT_EQ(table.Level(1).Positions[11], 5);
    EXPECT_EQ(table.Level(1).Positions[12], 4);
    EXPECT_EQ(table.Level(1).PositionCount, 0) << "no '-' token: the count stays as it was";
}

TEST(LevelFile, ABadTokenNamesItselfAndKeepsWhatWasRead)
{
    LevelTable table;
    EXPECT_EQ(ErrorOf(Line(Shape4) + "\r\n" + Line("L002006,0x9,004,---"), table), "'0x9' is not a valid integer value");
    EXPECT_EQ(table.Level(1).ShapeId, 4);
    EXPECT_EQ(table.Level(2).ShapeId, 6) << "fields before the bad token keep their values";
    EXPECT_EQ(table.Level(2).PositionCount, 0);
    EXPECT_EQ(ErrorOf(Line("L001006,   ,004,---"), table), "'   ' is not a valid integer value");
    EXPECT_EQ(ErrorOf(Line("L001006,9  ,004,---"), table), "'9  ' is not a valid integer value");
    EXPECT_EQ(ErrorOf(Line(std::string("L001006,0\0" "9,004,---", 19)), table), "'0#09' is not a valid integer value");
}

TEST(LevelFile, RefusesMoreThan41PositionCodes)
{
    std::string ok = "L001006,002", tooMany = ok;
    for (int i = 0; i < 41; ++i)
        ok += ",004";
    for (int i = 0; i < 42; ++i)
        tooMany += ",004";
    LevelTable table;
    EXPECT_FALSE(ParseLevelText(ok + ",---", table));
    EXPECT_EQ(table.Level(1).PositionCount, 41);
    EXPECT_EQ(ErrorOf(Line(Shape4) + "\n" + tooMany + ",---", table), "Level line 2 has more than 41 position codes");
    EXPECT_EQ(table.Level(2).PositionCount, 0) << "the count is never overwritten by a code";
}

TEST(LevelFile, MissingFileIsFileNotFound)
{
    LevelTable table;
    EXPECT_EQ(LoadLevelTable("/nonexistent/folder/", table).Message(), "File not found");
}

TEST(LevelFile, AFolderInItsPlaceIsAnErrorNotAnEmptyFile)
{
    const std::string folder = ::testing::TempDir() + "vz-levels-folder/";
    std::filesystem::create_directories(folder + "map/level.ini");
    LevelTable table;
    table.Level(1).ShapeId = 4;
    EXPECT_EQ(LoadLevelTable(folder, table).Message(), "File access denied");
    EXPECT_EQ(table.Level(1).ShapeId, 4) << "nothing is filled";
    std::filesystem::remove_all(folder);
}

TEST(ShippedLevels, EveryReachableLevelIsWellFormedAndAllPartsAreUsed)
{
    LevelTable table;
    ASSERT_FALSE(LoadLevelFile(std::string(VZ_SOURCE_DIR) + "/data/map/level.ini", table));
    bool shapes[11] = {}, pools[10] = {};
    for (int n = 1; n <= LevelCount; ++n) {
        const LevelRecord& level = table.Level(n);
        const auto problems = CheckLevel(level);
        EXPECT_TRUE(problems.empty()) << "level " << n << ": " << (problems.empty() ? "" : problems[0]);
        if (problems.empty()) {
            shapes[level.ShapeId] = pools[level.PoolTypeId] = true;
        }
    }
    for (int s = 1; s <= 10; ++s)
        EXPECT_TRUE(shapes[s]) << "shape " << s;
    for (int p = 1; p <= 9; ++p)
        EXPECT_TRUE(pools[p]) << "pool type " << p;
}
