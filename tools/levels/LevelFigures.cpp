#include "tools/levels/LevelFigures.h"

#include <algorithm>

namespace {

void Note(Spread& spread, int32_t value, int32_t deal)
{
    if (deal == 0 || value < spread.Min)
        spread.Min = value;
    if (deal == 0 || value > spread.Max)
        spread.Max = value;
    spread.Mean += value;
}

} // namespace

void NoteDeal(LevelFigures& figures, const Board& dealt, int32_t deal)
{
    const BoardShape& s = dealt.CurrentShape;
    int32_t hidden = 0, deepest = 0;
    bool seen[CarCount + 1] = {};
    int32_t distinct = 0;
    for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
        for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column) {
            const Cell& cell = dealt.Cells(column, row);
            int32_t stack = 0;
            for (CarId car : cell.Slot)
                if (car > 0 && car <= CarCount) {
                    ++stack;
                    if (!seen[car]) {
                        seen[car] = true;
                        ++distinct;
                    }
                }
            hidden += dealt.HiddenCount(column, row);
            deepest = std::max(deepest, stack);
        }
    Note(figures.Cars, dealt.CarsLeft, deal);
    Note(figures.Hidden, hidden, deal);
    Note(figures.Deepest, deepest, deal);
    Note(figures.Distinct, distinct, deal);
}

void CloseFigures(LevelFigures& figures, int32_t deals, const LevelWins& wins)
{
    figures.Deals = deals;
    if (deals <= 0)
        return;
    for (Spread* spread : {&figures.Cars, &figures.Hidden, &figures.Deepest, &figures.Distinct})
        spread->Mean /= deals;
    figures.CasualWinRate = static_cast<double>(wins.Casual) / deals;
    figures.CarefulWinRate = static_cast<double>(wins.Careful) / deals;
    for (int32_t won : wins.Skilled)
        figures.SkilledWinRates.push_back(static_cast<double>(won) / deals);
    figures.SolverClearRate = static_cast<double>(wins.Cleared) / deals;
}
