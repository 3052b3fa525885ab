#pragma once
#include "model/BoardShape.h"
#include "model/CarId.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

constexpr int32_t GridMinColumn = 3;
constexpr int32_t GridMaxColumn = 10;
constexpr int32_t GridMinRow = 7;
constexpr int32_t GridMaxRow = 20;
constexpr int32_t GridColumns = GridMaxColumn - GridMinColumn + 1;
constexpr int32_t GridRows = GridMaxRow - GridMinRow + 1;
constexpr int32_t SlotCount = 6;

struct BayPos {
    int32_t Column = 0;
    int32_t Row = 0;
    bool operator==(const BayPos& other) const { return Column == other.Column && Row == other.Row; }
    bool operator!=(const BayPos& other) const { return !(*this == other); }
};

inline bool InGrid(int32_t column, int32_t row)
{
    return column >= GridMinColumn && column <= GridMaxColumn && row >= GridMinRow && row <= GridMaxRow;
}

// A per-bay array indexed the way the game names bays: column 3 … 10, row 7 … 20.
template <class T>
class BayGrid {
public:
    T& operator()(int32_t column, int32_t row)
    {
        assert(InGrid(column, row));
        return Items[column - GridMinColumn][row - GridMinRow];
    }
    const T& operator()(int32_t column, int32_t row) const
    {
        assert(InGrid(column, row));
        return Items[column - GridMinColumn][row - GridMinRow];
    }
    void Fill(const T& value)
    {
        for (auto& column : Items)
            for (auto& item : column)
                item = value;
    }
    bool operator==(const BayGrid& other) const
    {
        for (int c = 0; c < GridColumns; ++c)
            for (int r = 0; r < GridRows; ++r)
                if (!(Items[c][r] == other.Items[c][r]))
                    return false;
        return true;
    }

private:
    T Items[GridColumns][GridRows]{};
};

// The stack of one bay: slot 0 is the top car, 1 … 5 the hidden ones (1 comes out next).
struct Cell {
    CarId Slot[SlotCount] = {};
    bool operator==(const Cell& other) const
    {
        for (int s = 0; s < SlotCount; ++s)
            if (Slot[s] != other.Slot[s])
                return false;
        return true;
    }
};

struct UndoSnapshot {
    BayGrid<Cell> Cells;
    BayGrid<int32_t> HiddenCount;
    int32_t CarsLeft = 0;
};

// The one board in play. Fixed-size throughout: a deal overwrites it in place.
struct Board {
    BayGrid<Cell> Cells;
    BayGrid<int32_t> HiddenCount;
    BoardShape CurrentShape;
    int32_t CarsLeft = 0;
    bool CarSelected = false;
    BayPos SelectedBay;
    BayPos HoverBay;
    bool InputEnabled = false;
    UndoSnapshot Snapshot;
};

bool InsideShape(const Board& board, int32_t column, int32_t row);

// The bays of a shape are numbered row by row from 1, and bay k owns ground
// layer k − 1 and car layer k + 73 of the play view; 0 outside the shape.
// LayOutBays hands each number to the view, which keeps them until the next deal.
inline int32_t BayOrdinal(const BoardShape& shape, int32_t column, int32_t row)
{
    if (column < shape.MinColumn || column > shape.MaxColumn || row < shape.MinRow || row > shape.MaxRow)
        return 0;
    return (row - shape.MinRow) * shape.ColumnCount + (column - shape.MinColumn) + 1;
}
inline bool InsideShape(const Board& board, BayPos bay) { return InsideShape(board, bay.Column, bay.Row); }

// The lowest column of the row, from MinColumn up to `beforeColumn` − 1, whose bay
// holds a top car; 0 when none does. Hidden cars never count.
inline int32_t FirstTopCarColumn(const Board& board, int32_t row, int32_t beforeColumn)
{
    // Every shape starts inside the grid; saying so keeps the compiler from
    // warning about a column below it.
    for (int32_t c = std::max(board.CurrentShape.MinColumn, GridMinColumn); c < beforeColumn; ++c)
        if (board.Cells(c, row).Slot[0] != 0)
            return c;
    return 0;
}

// A top car is free when no lower column of its row, from MinColumn on, holds a
// top car: each row has at most one free car, FirstTopCarColumn(row, MaxColumn + 1).
inline bool IsFree(const Board& board, int32_t column, int32_t row) { return FirstTopCarColumn(board, row, column) == 0; }

// Slot 0 takes slot 1, and so on up; the deepest slot is emptied.
inline void MoveStackUp(Cell& cell)
{
    for (int s = 0; s < SlotCount - 1; ++s)
        cell.Slot[s] = cell.Slot[s + 1];
    cell.Slot[SlotCount - 1] = 0;
}

// Moves the hidden stack up one slot and lowers the hidden count. No drawing.
inline void RevealNext(Board& board, int32_t column, int32_t row)
{
    MoveStackUp(board.Cells(column, row));
    board.HiddenCount(column, row) -= 1;
}

void TakeSnapshot(Board& board);

