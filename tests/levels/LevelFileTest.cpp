#include "core/Random.h"
#include "levels/CheckLevel.h"
#include "levels/GameModes.h"
#include "levels/LevelFile.h"

#include <filesystem>
#include <limits>
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

// The random state whose next draw is `next`: RandomBelow(n) then gives 0 for
// next = 0 and n − 1 for next = 2^32 − 1, whatever n is.
uint32_t StateBefore(uint32_t next)
{
    const uint32_t a = 134775813u;
    uint32_t inverse = a; // Newton's iteration doubles the correct low bits each step
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - a * inverse;
    return (next - 1u) * inverse;
}

// The level START reads for what a mode's box holds, at every edge: no number
// outside the mode's own levels (spec Part 2.2) reaches the level table. The
// other box holds 20, so a championship that read the wrong box lands inside its
// levels instead of on the edge; a free mode ignores both boxes, and its lowest
// and highest draws give its first and last level.
TEST(LevelFile, ModesPickTheirLevelsAtEveryEdge)
{
    constexpr int32_t Largest = std::numeric_limits<int32_t>::max();
    constexpr int32_t Smallest = std::numeric_limits<int32_t>::min();
    constexpr uint32_t LowestDraw = 0, HighestDraw = 0xFFFFFFFFu;
    const GameMode normal = GameMode::NormalChampionship, advanced = GameMode::AdvancedChampionship;
    struct Case {
        GameMode Mode;
        int32_t Typed;     // into the mode's own box (the normal box for a free mode)
        uint32_t NextDraw; // a free mode's draw
        int32_t Level;
        const char* What;
    };
    const Case cases[] = {
        {normal, 0, LowestDraw, 1, "typed 0"},
        {normal, 1, LowestDraw, 1, "typed 1"},
        {normal, 40, LowestDraw, 40, "typed 40, the span"},
        {normal, 41, LowestDraw, 40, "typed 41, the span + 1"},
        {normal, 99, LowestDraw, 40, "typed 99, the most two digits hold"},
        {normal, Largest, LowestDraw, 40, "typed the largest number"},
        {normal, -1, LowestDraw, 1, "typed -1"},
        {normal, Smallest, LowestDraw, 1, "typed the most negative number"},
        {advanced, 0, LowestDraw, 41, "typed 0"},
        {advanced, 1, LowestDraw, 41, "typed 1"},
        {advanced, 40, LowestDraw, 80, "typed 40, the span"},
        {advanced, 41, LowestDraw, 80, "typed 41, the span + 1"},
        {advanced, 75, LowestDraw, 80, "typed 75 (level 115 unclamped)"},
        {advanced, 99, LowestDraw, 80, "typed 99, the most two digits hold"},
        {advanced, Largest, LowestDraw, 80, "typed the largest number"},
        {advanced, -1, LowestDraw, 41, "typed -1"},
        {advanced, Smallest, LowestDraw, 41, "typed the most negative number"},
        {GameMode::FreeEasy, 0, LowestDraw, 81, "the lowest draw"},
        {GameMode::FreeEasy, Largest, HighestDraw, 84, "the highest draw"},
        {GameMode::FreeNormal, 0, LowestDraw, 91, "the lowest draw"},
        {GameMode::FreeNormal, Largest, HighestDraw, 94, "the highest draw"},
        {GameMode::FreeAdvanced, 0, LowestDraw, 101, "the lowest draw"},
        {GameMode::FreeAdvanced, Largest, HighestDraw, 104, "the highest draw"},
        {GameMode::FreeManiac, -1, LowestDraw, 106, "the lowest draw"},
        {GameMode::FreeManiac, Smallest, HighestDraw, 109, "the highest draw"},
    };
    for (const Case& c : cases) {
        const bool isAdvanced = c.Mode == advanced;
        const int32_t normalBox = isAdvanced ? 20 : c.Typed, advancedBox = isAdvanced ? c.Typed : 20;
        const uint32_t state = StateBefore(c.NextDraw);
        SetRandomState(state);
        EXPECT_EQ(LevelForMode(c.Mode, normalBox, advancedBox), c.Level)
            << ModeInfo(c.Mode).Name << " (mode " << static_cast<int>(c.Mode) << "), " << c.What;
        if (c.Mode == normal || isAdvanced) {
            EXPECT_EQ(RandomState(), state) << ModeInfo(c.Mode).Name << " draws no random number";
        }
    }
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
