#include "tools/levels/SearchBoard.h"

#include <algorithm>
#include <cstring>

DealOrder::DealOrder()
{
    std::memset(Index, -1, sizeof Index);
    std::memset(Depth, 0, sizeof Depth);
}

DealOrder::DealOrder(const LevelRecord& level) : DealOrder()
{
    for (int32_t i = 0; i < level.PositionCount && i < MaxPositions; ++i) {
        const int32_t column = CodeColumn(level.Positions[i]) - GridMinColumn, slot = CodeSlot(level.Positions[i]);
        if (column < 0 || column >= GridColumns || slot < 0 || slot >= SlotCount)
            continue;
        Index[column][slot] = static_cast<int8_t>(i);
        Depth[column] = static_cast<int8_t>(std::max<int>(Depth[column], slot + 1));
    }
}

void SetBay(SearchBoard& board, const DealOrder& order, int32_t bay, const CarId* cars, int8_t count, bool shown)
{
    // The cars left are the deepest of those dealt, so their slots of the deal follow.
    const int32_t column = board.Position(bay).Column - GridMinColumn;
    const int32_t depth = order.Depth[column];
    for (int8_t k = 0; k < count; ++k) {
        board.Car[bay][k] = cars[k];
        const int32_t dealtSlot = depth - count + k;
        board.Order[bay][k] = dealtSlot >= 0 && dealtSlot < SlotCount ? order.Index[column][dealtSlot] : 0;
    }
    board.Next[bay] = 0;
    board.End[bay] = count;
    board.Shown[bay] = shown;
    board.CarsLeft += count;
}

void ReadBoard(const Board& board, const DealOrder& order, SearchBoard& out)
{
    out.Shape = board.CurrentShape;
    out.CarsLeft = 0;
    for (int32_t bay = 0; bay < out.Bays(); ++bay) {
        const BayPos at = out.Position(bay);
        const Cell& cell = board.Cells(at.Column, at.Row);
        CarId cars[SlotCount];
        int8_t n = 0;
        for (int slot = cell.Slot[0] != 0 ? 0 : 1; slot < SlotCount && cell.Slot[slot] != 0; ++slot)
            cars[n++] = cell.Slot[slot];
        SetBay(out, order, bay, cars, n, cell.Slot[0] != 0);
    }
}
