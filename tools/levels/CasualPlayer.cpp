#include "tools/levels/CasualPlayer.h"

#include "model/PlayRules.h"
#include "tools/levels/BlockedForGood.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

constexpr int MaxPairs = MaxRows * (MaxRows - 1) / 2;

// A click whose outcome the play rules fix; anything else means the rules and
// the player disagree about the board, and the measurement would be worthless.
void Expect(Board& board, BoardView& view, BayPos bay, ClickOutcome wanted)
{
    if (ClickBay(board, view, bay).Outcome != wanted)
        throw std::logic_error("simulated player: the click on " + std::to_string(bay.Column) + "," +
                               std::to_string(bay.Row) + " did not do what the rules promise");
}

// Each row has at most one free car: its first top car from MinColumn.
int FreeCars(const Board& board, BayPos* free)
{
    const BoardShape& s = board.CurrentShape;
    int count = 0;
    for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
        if (const int32_t column = FirstTopCarColumn(board, row, s.MaxColumn + 1))
            free[count++] = {column, row};
    return count;
}

// The pairs of free cars with one id, as indices into `free`.
int MatchingPairs(const Board& board, const BayPos* free, int freeCount, int (*pairs)[2])
{
    int count = 0;
    for (int i = 0; i < freeCount; ++i)
        for (int j = i + 1; j < freeCount; ++j)
            if (board.Cells(free[i].Column, free[i].Row).Slot[0] == board.Cells(free[j].Column, free[j].Row).Slot[0]) {
                pairs[count][0] = i;
                pairs[count][1] = j;
                ++count;
            }
    return count;
}

// Would taking the two free cars, of one id, leave a car of their id blocked for good?
bool LeavesBlockedCar(Board& board, BayPos first, BayPos second)
{
    CarId& a = board.Cells(first.Column, first.Row).Slot[0];
    CarId& b = board.Cells(second.Column, second.Row).Slot[0];
    const CarId id = a;
    a = b = 0;
    bool blocked = false;
    const BoardShape& s = board.CurrentShape;
    for (int32_t row = s.MinRow; row <= s.MaxRow && !blocked; ++row)
        for (int32_t column = s.MinColumn; column <= s.MaxColumn && !blocked; ++column)
            for (int32_t slot = 0; slot < SlotCount && !blocked; ++slot)
                blocked = board.Cells(column, row).Slot[slot] == id && IsBlockedForGood(board, {{column, row}, slot});
    a = b = id;
    return blocked;
}

// The careful player's rule: drops the pairs that would leave a car blocked for
// good, unless that would drop them all. Returns how many pairs are left.
int DropBlockingPairs(Board& board, const BayPos* free, int (*pairs)[2], int pairCount)
{
    int safe[MaxPairs][2];
    int safeCount = 0;
    for (int k = 0; k < pairCount; ++k)
        if (!LeavesBlockedCar(board, free[pairs[k][0]], free[pairs[k][1]])) {
            safe[safeCount][0] = pairs[k][0];
            safe[safeCount][1] = pairs[k][1];
            ++safeCount;
        }
    if (safeCount == 0)
        return pairCount;
    std::copy(&safe[0][0], &safe[0][0] + 2 * safeCount, &pairs[0][0]);
    return safeCount;
}

// The bays whose top is gone and that still hide a car.
int EmptiedBays(const Board& board, BayPos* emptied)
{
    const BoardShape& s = board.CurrentShape;
    int count = 0;
    for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
        for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column) {
            const Cell& cell = board.Cells(column, row);
            if (cell.Slot[0] == 0 && cell.Slot[1] != 0)
                emptied[count++] = {column, row};
        }
    return count;
}

} // namespace

GameResult PlayOut(Board& board, BoardView& view, PlayerKind player, PlayerRandom& random)
{
    GameResult result;
    while (board.CarsLeft > 0) {
        BayPos free[MaxRows];
        const int freeCount = FreeCars(board, free);
        int pairs[MaxPairs][2];
        int pairCount = MatchingPairs(board, free, freeCount, pairs);
        if (pairCount > 0) {
            if (player == PlayerKind::Careful)
                pairCount = DropBlockingPairs(board, free, pairs, pairCount);
            const int k = random.Below(pairCount);
            Expect(board, view, free[pairs[k][0]], ClickOutcome::Selected);
            Expect(board, view, free[pairs[k][1]], ClickOutcome::PairRemoved);
            ++result.Pairs;
            continue;
        }
        BayPos emptied[MaxBays];
        const int emptiedCount = EmptiedBays(board, emptied);
        if (emptiedCount == 0)
            break; // no pair and nothing to reveal: lost
        Expect(board, view, emptied[random.Below(emptiedCount)], ClickOutcome::Revealed);
        ++result.Reveals;
    }
    result.Won = board.CarsLeft == 0;
    return result;
}
