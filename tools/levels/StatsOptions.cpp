#include "tools/levels/StatsOptions.h"

#include "tools/levels/ItemNames.h"
#include "tools/levels/ParseNumber.h"

#include <cstdio>
#include <string>

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
    "               Exits 1 when a level it measured is broken and a game mode\n"
    "               deals it; 2 on bad arguments or an unreadable file.\n";

namespace {

// The number after an option, from `least` to `limit`; a refusal names the option.
bool NumberAfter(const char* option, const char* text, unsigned long long least, unsigned long long limit,
                 unsigned long long& value)
{
    if (ParseNumber(text, limit, value) && value >= least)
        return true;
    std::fprintf(stderr, "%s must be a number from %llu to %llu, not '%s'\n", option, least, limit, text);
    return false;
}

// FROM-TO, or one level.
bool LevelsAfter(const char* text, StatsOptions& options)
{
    const std::string range = text;
    const size_t dash = range.find('-');
    const std::string first = range.substr(0, dash), last = dash == std::string::npos ? first : range.substr(dash + 1);
    unsigned long long from = 0, to = 0;
    if (!ParseNumber(first.c_str(), LevelCount, from) || !ParseNumber(last.c_str(), LevelCount, to) || from < 1 ||
        to < from) {
        std::fprintf(stderr, "--levels must be FROM-TO within 1-%d, not '%s'\n", LevelCount, range.c_str());
        return false;
    }
    options.FirstLevel = static_cast<int32_t>(from);
    options.LastLevel = static_cast<int32_t>(to);
    return true;
}

bool ItemsAfter(const char* text, StatsOptions& options)
{
    OptionFlags items;
    if (!ParseItems(text, items)) {
        std::fprintf(stderr, "--items takes undo, preview-empty, preview-occupied, auto-preview-empty, "
                             "auto-preview-occupied, previews, auto-previews or none, not '%s'\n", text);
        return false;
    }
    options.Skilled.push_back(items);
    return true;
}

} // namespace

StatsRequest ParseStatsOptions(int argc, char** argv, StatsOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool valued = i + 1 < argc;
        unsigned long long n = 0;
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            return StatsRequest::Help;
        } else if (arg == "--csv") {
            options.Csv = true;
        } else if (arg == "--deals" && valued) {
            ok = NumberAfter("--deals", argv[++i], 1, 100000, n);
            options.Deals = static_cast<int32_t>(n);
        } else if (arg == "--seed" && valued) {
            ok = NumberAfter("--seed", argv[++i], 0, 0xFFFFFFFFull, n);
            options.Seed = static_cast<uint32_t>(n);
        } else if (arg == "--items" && valued) {
            ok = ItemsAfter(argv[++i], options);
        } else if (arg == "--threads" && valued) {
            ok = NumberAfter("--threads", argv[++i], 1, 64, n);
            options.Threads = static_cast<int>(n);
        } else if (arg == "--levels" && valued) {
            ok = LevelsAfter(argv[++i], options);
        } else if (!options.Path && arg.compare(0, 2, "--") != 0) {
            options.Path = argv[i];
        } else {
            std::fprintf(stderr, "stats: unexpected argument '%s'\n", arg.c_str());
            return StatsRequest::Refused;
        }
        if (!ok)
            return StatsRequest::Refused;
    }
    if (!options.Path) {
        std::fputs("stats: no level file given\n", stderr);
        return StatsRequest::Refused;
    }
    return StatsRequest::Measure;
}
