// vroomzle-levels: checks and previews level files for level designers.
#include "core/GameError.h"
#include "core/Random.h"
#include "deal/Generator.h"
#include "levels/CheckLevel.h"
#include "levels/GameModes.h"
#include "levels/LevelFile.h"
#include "model/SilentView.h"
#include "tools/levels/ItemNames.h"
#include "tools/levels/LevelStats.h"
#include "tools/levels/Spearman.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace {

constexpr int DefaultDeals = 200;

const char* const StatsHelp =
    "  stats FILE [--deals N] [--csv] [--levels FROM-TO] [--seed S] [--items LIST]...\n"
    "             [--threads T]\n"
    "               Measures how hard each level plays. Every level is dealt N times\n"
    "               (default 200, at most 100000) by the game's own generator, and each\n"
    "               deal is played to its end through the game's click handler by\n"
    "               three simulated players, and cleared by a solver that sees every\n"
    "               car. One line per level; --csv prints the same columns\n"
    "               comma-separated with a header line. --levels limits the run to\n"
    "               levels FROM to TO (default 1-110). The deal seeds follow from the\n"
    "               level, the deal number and S (default 0), so the same command\n"
    "               always prints the same figures, with any number of threads T\n"
    "               (default 2; levels are shared out among them).\n"
    "\n"
    "               --items LIST gives the skilled player the shop options it owns,\n"
    "               comma-separated: undo, preview-empty, preview-occupied,\n"
    "               auto-preview-empty, auto-preview-occupied; previews for both\n"
    "               PREVIEWs, auto-previews for both AUTO-PREVIEWs; none for no item\n"
    "               (the default). Each --items adds one skilled column.\n"
    "\n"
    "               Columns:\n"
    "                 level     level number (line of the file)\n"
    "                 shape     board shape 1-10\n"
    "                 pool      pool type 1-9\n"
    "                 cars      cars dealt (rows of the shape x positions of the row)\n"
    "                 hidden    cars hidden under a top car at the deal\n"
    "                 deepest   cars in the fullest bay at the deal (1-6)\n"
    "                 distinct  distinct car ids on the board: the mean over the N\n"
    "                           deals, with one decimal\n"
    "                 range     the fewest and the most distinct ids in one deal\n"
    "                 casual    share of the N deals the casual player won\n"
    "                 careful   share of the N deals the careful player won\n"
    "                 skilled   share the skilled player won with no item; with\n"
    "                           items the column is named skilled:ITEMS\n"
    "                 solver    share the solver cleared (1.000 for a level that\n"
    "                           deals boards that can always be cleared)\n"
    "               cars, hidden and deepest follow from the level line alone and are\n"
    "               the same in every deal; should one vary, it shows as MIN-MAX.\n"
    "               A level that is not well-formed shows '-' (the text table adds\n"
    "               its first problem).\n"
    "\n"
    "               All players play the same N deals, each with its own seeded\n"
    "               choices. A top car is free when no lower column of its row holds\n"
    "               a top car. The casual player takes a uniformly random pair of free\n"
    "               cars with the same id. Only when no such pair exists does it\n"
    "               reveal a random emptied bay (empty top, hidden car below). It has\n"
    "               lost when it can do neither with cars left.\n"
    "               The careful player plays the same way, but first drops every pair\n"
    "               that would leave a car of the same id blocked for good, unless\n"
    "               that drops them all. Car B waits on car A when both stand in one\n"
    "               row and A must be gone before B can be free: A is above B in B's\n"
    "               bay, or A is the top car of a bay in a lower column (a car hidden\n"
    "               under an emptied lower bay does not count: it stays down unless\n"
    "               revealed). A car is blocked for good when every other car of its\n"
    "               id on the board waits on it: it can only leave with one of them,\n"
    "               and none of them can become free while it stands, so the board\n"
    "               can no longer be cleared.\n"
    "               The skilled player sees what a player sees: the top cars, the\n"
    "               hidden counts, and with a PREVIEW or AUTO-PREVIEW the car under a\n"
    "               bay (it moves the pointer over every bay, pressing Space for a\n"
    "               PREVIEW); with the undo it reveals an emptied bay, reads the car\n"
    "               that came up and the one now beneath it, and takes the reveal\n"
    "               back. It remembers what it has seen. Its rule of thumb takes a\n"
    "               free pair when there is one, else reveals the car the level's list\n"
    "               deals latest (a car seen to pair at once counts as a place and a\n"
    "               half later). Where the choice matters (three or more free cars of\n"
    "               one id, or which bay to reveal) it imagines the hidden cars 8\n"
    "               times as a deal places them (each pair in two rows, the rows\n"
    "               filled evenly along the level's list, pairs of unseen cars with\n"
    "               the ids the level's pool still owes), plays the 4 best choices out\n"
    "               by its rule of thumb in every imagined board, and changes its\n"
    "               first choice only for one that wins clearly more often. When it\n"
    "               knows every car a reveal would bring up and at most 32 cars are\n"
    "               unseen it plans instead: the solver clears each imagined board\n"
    "               and the first move most plans share is made; with every car in\n"
    "               sight it follows the solver's plan.\n"
    "               The solver sees every car and searches the pairs that can go\n"
    "               (revealing a bay only to take the car that comes up).\n"
    "               The text table ends with '#' lines: Spearman's rank correlation\n"
    "               of level number and difficulty (1 - win rate) of the casual and\n"
    "               the first skilled player for each championship, and the mean\n"
    "               rates of each free tier.\n"
    "               Exits 1 when a level a game mode deals is broken; 2 on bad\n"
    "               arguments or an unreadable file.\n";

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
    if (!LoadOrReport(path, table))
        return 2;
    const int32_t number = static_cast<int32_t>(level);
    SilentView view;
    SetRandomState(static_cast<uint32_t>(seed));
    if (!InitMap(board, view, pool, table, number, table.Level(number).ShapeId)) {
        const GameError refused = DealRefusal(table, number, table.Level(number).ShapeId);
        std::fprintf(stderr, "%s: %s.\n", path, refused.Message().c_str());
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


// MIN-MAX, or the one value when every deal gave the same.
std::string SpreadText(const Spread& spread)
{
    std::string text = std::to_string(spread.Min);
    if (spread.Max != spread.Min)
        text += "-" + std::to_string(spread.Max);
    return text;
}

std::string Fixed(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The championship and free-tier figures a designer tunes the curve with.
void PrintSummary(const std::vector<LevelFigures>& all, const std::vector<std::string>& skilledNames)
{
    auto measured = [&](int32_t level) -> const LevelFigures* {
        for (const LevelFigures& f : all)
            if (f.Level == level && f.Problem.empty())
                return &f;
        return nullptr;
    };
    // The casual player's rate, then the first skilled player's.
    auto rate = [](const LevelFigures& f, int which) { return which == 0 ? f.CasualWinRate : f.SkilledWinRates[0]; };
    const int players = skilledNames.empty() ? 1 : 2;
    for (const GameModeInfo& c : GameModes) {
        if (c.Track == Championship::None)
            continue;
        const int32_t last = c.FirstLevel + c.LevelSpan - 1;
        for (int which = 0; which < players; ++which) {
            std::vector<double> number, difficulty;
            for (int32_t level = c.FirstLevel; level <= last; ++level)
                if (const LevelFigures* f = measured(level)) {
                    number.push_back(level);
                    difficulty.push_back(1 - rate(*f, which));
                }
            if (number.size() >= 2)
                std::printf("# %s %d-%d: Spearman %.3f over %zu levels (%s)\n", c.Name, c.FirstLevel, last,
                            SpearmanRho(number, difficulty), number.size(),
                            which == 0 ? "casual" : skilledNames[0].c_str());
        }
    }
    for (const GameModeInfo& t : GameModes) {
        if (t.Track != Championship::None)
            continue;
        const int32_t last = t.FirstLevel + t.LevelSpan - 1;
        double sum[2] = {};
        int n = 0;
        for (int32_t level = t.FirstLevel; level <= last; ++level)
            if (const LevelFigures* f = measured(level)) {
                for (int which = 0; which < players; ++which)
                    sum[which] += rate(*f, which);
                ++n;
            }
        if (n == 0)
            continue;
        std::printf("# %s %d-%d: mean casual %.3f", t.Name, t.FirstLevel, last, sum[0] / n);
        if (players > 1)
            std::printf(", %s %.3f", skilledNames[0].c_str(), sum[1] / n);
        std::printf("\n");
    }
}

int Stats(int argc, char** argv)
{
    const char* path = nullptr;
    unsigned long long deals = DefaultDeals, base = 0, from = 1, to = LevelCount, threads = 2;
    bool csv = false;
    std::vector<OptionFlags> skilled;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(StatsHelp, stdout);
            return 0;
        } else if (arg == "--csv") {
            csv = true;
        } else if (arg == "--deals" && i + 1 < argc) {
            if (!ParseNumber(argv[++i], 100000, deals) || deals < 1) {
                std::fprintf(stderr, "--deals must be a number from 1 to 100000, not '%s'\n", argv[i]);
                return 2;
            }
        } else if (arg == "--seed" && i + 1 < argc) {
            if (!ParseNumber(argv[++i], 0xFFFFFFFFull, base)) {
                std::fprintf(stderr, "--seed must be a number from 0 to 4294967295, not '%s'\n", argv[i]);
                return 2;
            }
        } else if (arg == "--items" && i + 1 < argc) {
            OptionFlags items;
            if (!ParseItems(argv[++i], items)) {
                std::fprintf(stderr, "--items takes undo, preview-empty, preview-occupied, auto-preview-empty, "
                                     "auto-preview-occupied, previews, auto-previews or none, not '%s'\n", argv[i]);
                return 2;
            }
            skilled.push_back(items);
        } else if (arg == "--threads" && i + 1 < argc) {
            if (!ParseNumber(argv[++i], 64, threads) || threads < 1) {
                std::fprintf(stderr, "--threads must be a number from 1 to 64, not '%s'\n", argv[i]);
                return 2;
            }
        } else if (arg == "--levels" && i + 1 < argc) {
            const std::string range = argv[++i];
            const size_t dash = range.find('-');
            const std::string first = range.substr(0, dash), last = dash == std::string::npos ? first : range.substr(dash + 1);
            if (!ParseNumber(first.c_str(), LevelCount, from) || !ParseNumber(last.c_str(), LevelCount, to) || from < 1 ||
                to < from) {
                std::fprintf(stderr, "--levels must be FROM-TO within 1-%d, not '%s'\n", LevelCount, range.c_str());
                return 2;
            }
        } else if (!path && arg.compare(0, 2, "--") != 0) {
            path = argv[i];
        } else {
            std::fprintf(stderr, "stats: unexpected argument '%s'\n", arg.c_str());
            return 2;
        }
    }
    if (!path) {
        std::fputs("stats: no level file given\n", stderr);
        return 2;
    }
    static LevelTable table;
    if (!LoadOrReport(path, table))
        return 2;

    if (skilled.empty())
        skilled.push_back(OptionFlags{});
    std::vector<std::string> names;
    for (const OptionFlags& items : skilled) {
        const std::string name = ItemsName(items);
        names.push_back(name == "none" ? "skilled" : "skilled:" + name);
    }

    // Levels are shared out among the threads; the lines come out in level order.
    std::vector<int32_t> levels;
    for (unsigned long long level = from; level <= to; ++level)
        levels.push_back(static_cast<int32_t>(level));
    const std::vector<LevelFigures> all = MeasureLevels(table, levels, static_cast<int32_t>(deals),
                                                        static_cast<uint32_t>(base), skilled, static_cast<int>(threads));

    if (csv) {
        std::printf("level,shape,pool,cars,hidden,deepest,distinct,range,casual,careful");
        for (const std::string& name : names)
            std::printf(",%s", name.c_str());
        std::printf(",solver\n");
    } else {
        std::printf("%5s %5s %4s %5s %6s %7s %8s %7s %6s %7s", "level", "shape", "pool", "cars", "hidden", "deepest",
                    "distinct", "range", "casual", "careful");
        for (const std::string& name : names)
            std::printf(" %*s", static_cast<int>(std::max<size_t>(name.size(), 5)), name.c_str());
        std::printf(" %6s\n", "solver");
    }
    bool brokenReachable = false;
    for (const LevelFigures& f : all) {
        const int32_t level = f.Level;
        std::vector<std::string> cells;
        if (f.Problem.empty()) {
            cells = {SpreadText(f.Cars),
                     SpreadText(f.Hidden),
                     SpreadText(f.Deepest),
                     Fixed(f.Distinct.Mean, 1),
                     std::to_string(f.Distinct.Min) + "-" + std::to_string(f.Distinct.Max),
                     Fixed(f.CasualWinRate, 3),
                     Fixed(f.CarefulWinRate, 3)};
            for (double rate : f.SkilledWinRates)
                cells.push_back(Fixed(rate, 3));
            cells.push_back(Fixed(f.SolverClearRate, 3));
        } else {
            cells.assign(8 + skilled.size(), "-");
            brokenReachable = brokenReachable || IsReachableLevel(level);
        }
        if (csv) {
            std::printf("%d,%d,%d", level, f.ShapeId, f.PoolTypeId);
            for (const std::string& cell : cells)
                std::printf(",%s", cell.c_str());
            std::printf("\n");
        } else {
            std::printf("%5d %5d %4d %5s %6s %7s %8s %7s %6s %7s", level, f.ShapeId, f.PoolTypeId, cells[0].c_str(),
                        cells[1].c_str(), cells[2].c_str(), cells[3].c_str(), cells[4].c_str(), cells[5].c_str(),
                        cells[6].c_str());
            for (size_t i = 0; i < names.size(); ++i)
                std::printf(" %*s", static_cast<int>(std::max<size_t>(names[i].size(), 5)), cells[7 + i].c_str());
            std::printf(" %6s", cells.back().c_str());
            if (!f.Problem.empty())
                std::printf("  %s", f.Problem.c_str());
            std::printf("\n");
        }
    }
    if (!csv)
        PrintSummary(all, names);
    return brokenReachable ? 1 : 0;
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
