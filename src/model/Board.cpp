#include "Board.h"

bool InsideShape(const Board& board, int32_t column, int32_t row)
{
    const BoardShape& s = board.CurrentShape;
    return column >= s.MinColumn && column <= s.MaxColumn && row >= s.MinRow && row <= s.MaxRow;
}

bool IsFree(const Board& board, int32_t column, int32_t row)
{
    for (int32_t c = board.CurrentShape.MinColumn; c < column; ++c)
        if (board.Cells(c, row).Slot[0] != 0)
            return false;
    return true;
}

void RevealNext(Board& board, int32_t column, int32_t row)
{
    Cell& cell = board.Cells(column, row);
    for (int s = 0; s < SlotCount - 1; ++s)
        cell.Slot[s] = cell.Slot[s + 1];
    cell.Slot[SlotCount - 1] = 0;
    board.HiddenCount(column, row) -= 1;
}

void TakeSnapshot(Board& board)
{
    board.Snapshot.Cells = board.Cells;
    board.Snapshot.HiddenCount = board.HiddenCount;
    board.Snapshot.CarsLeft = board.CarsLeft;
}

int32_t CountCars(const Board& board)
{
    int32_t count = 0;
    for (int32_t c = GridMinColumn; c <= GridMaxColumn; ++c)
        for (int32_t r = GridMinRow; r <= GridMaxRow; ++r)
            for (CarId car : board.Cells(c, r).Slot)
                count += car != 0;
    return count;
}
