#include "tools/levels/StatsReport.h"

#include "levels/GameModes.h"
#include "tools/levels/ItemNames.h"
#include "tools/levels/Spearman.h"

#include <algorithm>
#include <cstdio>

namespace {

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

int ColumnWidth(const std::string& name) { return static_cast<int>(std::max<size_t>(name.size(), 5)); }

void PrintHeader(const std::vector<std::string>& names, bool csv)
{
    if (csv) {
        std::printf("level,shape,pool,cars,hidden,deepest,distinct,range,casual,careful");
        for (const std::string& name : names)
            std::printf(",%s", name.c_str());
        std::printf(",solver\n");
        return;
    }
    std::printf("%5s %5s %4s %5s %6s %7s %8s %7s %6s %7s", "level", "shape", "pool", "cars", "hidden", "deepest",
                "distinct", "range", "casual", "careful");
    for (const std::string& name : names)
        std::printf(" %*s", ColumnWidth(name), name.c_str());
    std::printf(" %6s\n", "solver");
}

// The columns after level, shape and pool; '-' in each for a level not measured.
std::vector<std::string> Cells(const LevelFigures& f, size_t skilledColumns)
{
    if (!f.Problem.empty())
        return std::vector<std::string>(8 + skilledColumns, "-");
    std::vector<std::string> cells = {SpreadText(f.Cars),
                                      SpreadText(f.Hidden),
                                      SpreadText(f.Deepest),
                                      Fixed(f.Distinct.Mean, 1),
                                      std::to_string(f.Distinct.Min) + "-" + std::to_string(f.Distinct.Max),
                                      Fixed(f.CasualWinRate, 3),
                                      Fixed(f.CarefulWinRate, 3)};
    for (double rate : f.SkilledWinRates)
        cells.push_back(Fixed(rate, 3));
    cells.push_back(Fixed(f.SolverClearRate, 3));
    return cells;
}

void PrintLine(const LevelFigures& f, const std::vector<std::string>& names, bool csv)
{
    const std::vector<std::string> cells = Cells(f, names.size());
    if (csv) {
        std::printf("%d,%d,%d", f.Level, f.ShapeId, f.PoolTypeId);
        for (const std::string& cell : cells)
            std::printf(",%s", cell.c_str());
        std::printf("\n");
        return;
    }
    std::printf("%5d %5d %4d %5s %6s %7s %8s %7s %6s %7s", f.Level, f.ShapeId, f.PoolTypeId, cells[0].c_str(),
                cells[1].c_str(), cells[2].c_str(), cells[3].c_str(), cells[4].c_str(), cells[5].c_str(),
                cells[6].c_str());
    for (size_t i = 0; i < names.size(); ++i)
        std::printf(" %*s", ColumnWidth(names[i]), cells[7 + i].c_str());
    std::printf(" %6s", cells.back().c_str());
    if (!f.Problem.empty())
        std::printf("  %s", f.Problem.c_str());
    std::printf("\n");
}

// The figures of a level that was measured; null for one that was not.
const LevelFigures* Measured(const std::vector<LevelFigures>& all, int32_t level)
{
    for (const LevelFigures& f : all)
        if (f.Level == level && f.Problem.empty())
            return &f;
    return nullptr;
}

// The casual player's rate (0), then the first skilled player's (1).
double Rate(const LevelFigures& f, int which) { return which == 0 ? f.CasualWinRate : f.SkilledWinRates[0]; }

// How steadily each championship climbs, for the casual and the first skilled player.
void PrintChampionships(const std::vector<LevelFigures>& all, const std::vector<std::string>& skilledNames)
{
    const int players = skilledNames.empty() ? 1 : 2;
    for (const GameModeInfo& c : GameModes) {
        if (c.Track == Championship::None)
            continue;
        const int32_t last = c.FirstLevel + c.LevelSpan - 1;
        for (int which = 0; which < players; ++which) {
            std::vector<double> number, difficulty;
            for (int32_t level = c.FirstLevel; level <= last; ++level)
                if (const LevelFigures* f = Measured(all, level)) {
                    number.push_back(level);
                    difficulty.push_back(1 - Rate(*f, which));
                }
            if (number.size() >= 2)
                std::printf("# %s %d-%d: Spearman %.3f over %zu levels (%s)\n", c.Name, c.FirstLevel, last,
                            SpearmanRho(number, difficulty), number.size(),
                            which == 0 ? "casual" : skilledNames[0].c_str());
        }
    }
}

// The mean rates of each free tier.
void PrintFreeTiers(const std::vector<LevelFigures>& all, const std::vector<std::string>& skilledNames)
{
    const int players = skilledNames.empty() ? 1 : 2;
    for (const GameModeInfo& t : GameModes) {
        if (t.Track != Championship::None)
            continue;
        const int32_t last = t.FirstLevel + t.LevelSpan - 1;
        double sum[2] = {};
        int n = 0;
        for (int32_t level = t.FirstLevel; level <= last; ++level)
            if (const LevelFigures* f = Measured(all, level)) {
                for (int which = 0; which < players; ++which)
                    sum[which] += Rate(*f, which);
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

} // namespace

std::vector<std::string> SkilledColumnNames(const std::vector<OptionFlags>& skilled)
{
    std::vector<std::string> names;
    for (const OptionFlags& items : skilled) {
        const std::string name = ItemsName(items);
        names.push_back(name == "none" ? "skilled" : "skilled:" + name);
    }
    return names;
}

bool PrintStats(const std::vector<LevelFigures>& all, const std::vector<std::string>& skilledNames, bool csv)
{
    PrintHeader(skilledNames, csv);
    bool brokenReachable = false;
    for (const LevelFigures& f : all) {
        PrintLine(f, skilledNames, csv);
        brokenReachable = brokenReachable || (!f.Problem.empty() && IsReachableLevel(f.Level));
    }
    if (!csv) {
        PrintChampionships(all, skilledNames);
        PrintFreeTiers(all, skilledNames);
    }
    return brokenReachable;
}
