// vroomzle-levels: checks and previews level files for level designers.
#include "core/GameError.h"
#include "core/Random.h"
#include "levels/CheckLevel.h"
#include "levels/Generator.h"
#include "levels/LevelFile.h"
#include "model/SilentView.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void PrintUsage(FILE* out)
{
    std::fputs("usage: vroomzle-levels check FILE\n"
               "       vroomzle-levels deal FILE LEVEL SEED\n"
               "\n"
               "  check FILE   Reads a level file (map/level.ini format) and prints one line\n"
               "               'level N: <problem>' for every broken condition of every level,\n"
               "               then a summary. Exits 0 only when every level a game mode can\n"
               "               deal (1-84, 91-94, 101-104, 106-109) is well-formed; 1 when one\n"
               "               is not; 2 when the file cannot be read.\n"
               "\n"
               "  deal FILE LEVEL SEED\n"
               "               Deals LEVEL (1-110) of FILE as the game does, with the random\n"
               "               state set to SEED (0-4294967295) first. Prints 'cars N', then\n"
               "               'column row slot CarId' for every car, by row, column and slot.\n"
               "               Exits 1 when the level cannot be dealt; 2 on bad arguments or\n"
               "               an unreadable file.\n",
               out);
}

// Plain decimal digits only, at most `limit`.
bool ParseNumber(const char* text, unsigned long long limit, unsigned long long& value)
{
    if (*text == '\0')
        return false;
    value = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(*c - '0');
        if (value > limit)
            return false;
    }
    return true;
}

int Deal(const char* path, const char* levelText, const char* seedText)
{
    unsigned long long level = 0, seed = 0;
    if (!ParseNumber(levelText, LevelCount, level) || level < 1) {
        std::fprintf(stderr, "LEVEL must be a number from 1 to %d, not '%s'\n", LevelCount, levelText);
        return 2;
    }
    if (!ParseNumber(seedText, 0xFFFFFFFFull, seed)) {
        std::fprintf(stderr, "SEED must be a number from 0 to 4294967295, not '%s'\n", seedText);
        return 2;
    }
    // Large: the board and the table are kept off the stack.
    static LevelTable table;
    static Board board;
    static CarPool pool;
    try {
        LoadLevelFile(path, table);
    } catch (const GameError& e) {
        std::fprintf(stderr, "%s: %s.\n", path, e.what());
        return 2;
    }
    const int32_t number = static_cast<int32_t>(level);
    SilentView view;
    SetRandomState(static_cast<uint32_t>(seed));
    try {
        InitMap(board, view, pool, table, number, table.Level(number).ShapeId);
    } catch (const GameError& e) {
        std::fprintf(stderr, "%s: %s.\n", path, e.what());
        return 1;
    }
    std::printf("cars %d\n", board.CarsLeft);
    for (int32_t row = GridMinRow; row <= GridMaxRow; ++row)
        for (int32_t column = GridMinColumn; column <= GridMaxColumn; ++column)
            for (int slot = 0; slot < SlotCount; ++slot)
                if (const CarId car = board.Cells(column, row).Slot[slot])
                    std::printf("%d %d %d %d\n", column, row, slot, car);
    return 0;
}

int Check(const char* path)
{
    LevelTable table;
    try {
        LoadLevelFile(path, table);
    } catch (const GameError& e) {
        std::fprintf(stderr, "%s: %s.\n", path, e.what());
        return 2;
    }
    int problems = 0, badReachable = 0, badOther = 0;
    for (int32_t number = 1; number <= LevelCount; ++number) {
        const auto found = CheckLevel(table.Level(number));
        for (const std::string& problem : found)
            std::printf("level %d: %s%s\n", number, problem.c_str(), IsReachableLevel(number) ? "" : " (not dealt by any mode)");
        problems += static_cast<int>(found.size());
        if (!found.empty())
            ++(IsReachableLevel(number) ? badReachable : badOther);
    }
    if (problems == 0)
        std::printf("%d levels checked: all well-formed\n", LevelCount);
    else
        std::printf("%d levels checked: %d problems; %d playable levels and %d unused levels are broken\n", LevelCount,
                    problems, badReachable, badOther);
    return badReachable == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        PrintUsage(stdout);
        return 0;
    }
    if (argc == 3 && !std::strcmp(argv[1], "check"))
        return Check(argv[2]);
    if (argc == 5 && !std::strcmp(argv[1], "deal"))
        return Deal(argv[2], argv[3], argv[4]);
    PrintUsage(stderr);
    return 2;
}
