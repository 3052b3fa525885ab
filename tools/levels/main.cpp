// vroomzle-levels, the level designer's tool: `check` finds the levels of a file
// that break a rule, `deal` prints the board a seed deals, and `stats` measures
// how hard each level plays with the simulated players and the solver.
#include "core/GameError.h"
#include "core/Random.h"
#include "deal/Generator.h"
#include "levels/CheckLevel.h"
#include "levels/GameModes.h"
#include "levels/LevelFile.h"
#include "model/SilentView.h"
#include "tools/levels/LevelStats.h"
#include "tools/levels/ParseNumber.h"
#include "tools/levels/StatsOptions.h"
#include "tools/levels/StatsReport.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace {

// The levels the game modes deal, adjoining ranges joined: "1-84, 91-94, …".
std::string ReachableLevelsText()
{
    std::string text;
    int32_t first = 0;
    for (int32_t level = 1; level <= LevelCount + 1; ++level) {
        const bool reachable = level <= LevelCount && IsReachableLevel(level);
        if (reachable && first == 0)
            first = level;
        if (!reachable && first != 0) {
            text += (text.empty() ? "" : ", ") + std::to_string(first) + "-" + std::to_string(level - 1);
            first = 0;
        }
    }
    return text;
}

void PrintUsage(FILE* out)
{
    std::fprintf(out,
               "usage: vroomzle-levels check FILE\n"
               "       vroomzle-levels deal FILE LEVEL SEED\n"
               "       vroomzle-levels stats FILE [--deals N] [--csv] [--levels FROM-TO] [--seed S]\n"
               "                             [--items LIST]... [--threads T]\n"
               "       vroomzle-levels stats --help\n"
               "\n"
               "  check FILE   Reads a level file (map/level.ini format) and prints one line\n"
               "               'level N: <problem>' for every broken condition of every level,\n"
               "               then a summary. Exits 0 only when every level a game mode can\n"
               "               deal (%s) is well-formed; 1 when one\n"
               "               is not; 2 when the file cannot be read.\n"
               "\n", ReachableLevelsText().c_str());
    std::fputs("  deal FILE LEVEL SEED\n"
               "               Deals LEVEL (1-110) of FILE as the game does, with the random\n"
               "               state set to SEED (0-4294967295) first. Prints 'cars N', then\n"
               "               'column row slot CarId' for every car, by row, column and slot.\n"
               "               Exits 1 when the level cannot be dealt; 2 on bad arguments or\n"
               "               an unreadable file.\n"
               "\n",
               out);
    std::fputs(StatsHelp, out);
}

// Reads a level file; an unreadable one is reported with the game's message.
bool LoadOrReport(const char* path, LevelTable& table)
{
    if (const GameError error = LoadLevelFile(path, table)) {
        std::fprintf(stderr, "%s: %s.\n", path, error.Message().c_str());
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
    static DealTrace trace;
    if (!LoadOrReport(path, table))
        return 2;
    const int32_t number = static_cast<int32_t>(level);
    SilentView view;
    SetRandomState(static_cast<uint32_t>(seed));
    if (!InitMap(board, view, pool, table, number, table.Level(number).ShapeId, &trace)) {
        std::fprintf(stderr, "%s: %s.\n", path, trace.Refusal.Message().c_str());
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
    if (!LoadOrReport(path, table))
        return 2;
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

int Stats(int argc, char** argv)
{
    StatsOptions options;
    switch (ParseStatsOptions(argc, argv, options)) {
    case StatsRequest::Help:
        std::fputs(StatsHelp, stdout);
        return 0;
    case StatsRequest::Refused:
        return 2;
    case StatsRequest::Measure:
        break;
    }
    static LevelTable table;
    if (!LoadOrReport(options.Path, table))
        return 2;
    if (options.Skilled.empty())
        options.Skilled.push_back(OptionFlags{});

    // Levels are shared out among the threads; the lines come out in level order.
    std::vector<int32_t> levels;
    for (int32_t level = options.FirstLevel; level <= options.LastLevel; ++level)
        levels.push_back(level);
    const std::vector<LevelFigures> all =
        MeasureLevels(table, levels, options.Deals, options.Seed, options.Skilled, options.Threads);
    return PrintStats(all, SkilledColumnNames(options.Skilled), options.Csv) ? 1 : 0;
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
    if (argc >= 3 && !std::strcmp(argv[1], "stats")) {
        try {
            return Stats(argc - 2, argv + 2);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "stats: %s\n", e.what());
            return 2;
        }
    }
    PrintUsage(stderr);
    return 2;
}
