#include "Board.h"

bool InsideShape(const Board& board, int32_t column, int32_t row)
{
    const BoardShape& s = board.CurrentShape;
    return column >= s.MinColumn && column <= s.MaxColumn && row >= s.MinRow && row <= s.MaxRow;
}

void TakeSnapshot(Board& board)
{
    board.Snapshot.Cells = board.Cells;
    board.Snapshot.HiddenCount = board.HiddenCount;
    board.Snapshot.CarsLeft = board.CarsLeft;
}
