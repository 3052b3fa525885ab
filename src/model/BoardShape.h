#pragma once
#include <cstdint>

// The rectangle of bays a board covers inside the grid (the table of the ten
// shapes lives with the other built-in tables).
struct BoardShape {
    int32_t ShapeId = 0;
    int32_t MinColumn = 0;
    int32_t MinRow = 0;
    int32_t MaxColumn = 0;
    int32_t MaxRow = 0;
    int32_t ColumnCount = 0;
    int32_t RowCount = 0;
    int32_t CellCount = 0;
};

// Every shape has at most this many bays (the play view has a layer pair for
// each) and rows (the deal keeps a counter for each).
constexpr int32_t MaxBays = 72;
constexpr int32_t MaxRows = 12;
