#pragma once
// The board as a search sees it: the solver's, and the skilled player's plans
// and imagined boards.
//
// A reveal only ever adds a blocker to its row: the new top car stands before
// every car in a higher column. So a search loses nothing by revealing a bay
// only at the moment it takes the car that comes up. Then the only cars that
// block are the tops already standing, and a car can go when it is its row's
// first top car, or the next car of an emptied bay before that top.
#include "levels/LevelFile.h"
#include "model/Board.h"

#include <cstdint>

// The place of every position in its level's list (the order the deal fills a
// row in), by column and slot of the deal; -1 where the level has no car.
struct DealOrder {
    int8_t Index[GridColumns][SlotCount];
    int8_t Depth[GridColumns]; // cars dealt into each bay of the column
    DealOrder();
    explicit DealOrder(const LevelRecord& level);
};

// The search numbers the bays of a shape from 0, row by row: bay k is the one
// whose BayOrdinal is k + 1.
inline int32_t SearchRow(const BoardShape& s, int32_t bay) { return bay / s.ColumnCount; }
inline BayPos SearchPosition(const BoardShape& s, int32_t bay)
{
    return {s.MinColumn + bay % s.ColumnCount, s.MinRow + bay / s.ColumnCount};
}
inline int32_t SearchBayCount(const BoardShape& s) { return s.RowCount * s.ColumnCount; }

// Each bay's remaining cars, from its top (or the car that a reveal brings up
// next) down. Bays are numbered row by row from the shape's first bay.
struct SearchBoard {
    BoardShape Shape;
    int32_t CarsLeft = 0;
    CarId Car[MaxBays][SlotCount] = {};
    // The car's place in the deal order, so that a search can try likely pairs first.
    int8_t Order[MaxBays][SlotCount] = {};
    int8_t Next[MaxBays] = {}; // the bay's top car, or the next to come up
    int8_t End[MaxBays] = {};  // one past its deepest car
    bool Shown[MaxBays] = {};  // the top slot holds Car[Next], which blocks the rest of its row

    int32_t RowOf(int32_t bay) const { return SearchRow(Shape, bay); }
    BayPos Position(int32_t bay) const { return SearchPosition(Shape, bay); }
    int32_t Bays() const { return SearchBayCount(Shape); }
    bool HasCars(int32_t bay) const { return Next[bay] < End[bay]; }
    CarId NextCar(int32_t bay) const { return Car[bay][Next[bay]]; }
    // Takes the bay's top car, or reveals and takes the car beneath an emptied top.
    void Take(int32_t bay)
    {
        ++Next[bay];
        Shown[bay] = false;
        --CarsLeft;
    }
};

// Sets bay `bay` of a board whose Shape is set: its `count` remaining cars from
// the top (or the car a reveal brings up next) down, each with its place in the
// deal, and whether its top stands. Adds them to CarsLeft.
void SetBay(SearchBoard& board, const DealOrder& order, int32_t bay, const CarId* cars, int8_t count, bool shown);

// Every car as it lies on the real board: the solver's view, which sees all.
void ReadBoard(const Board& board, const DealOrder& order, SearchBoard& out);

// A move of the search: one car from each bay (each in a different row), the
// bay's top or, under an emptied top, the car a reveal brings up.
struct SearchMove {
    int8_t First = 0;
    int8_t Second = 0;
};

// The cars that can go now, by row: each emptied bay's next car up to the row's
// first top car, and that top car. Returns how many were written to `bays`.
// Inline: the solver asks it at every position it expands.
inline int TakeableBays(const SearchBoard& board, int32_t row, int32_t* bays)
{
    int n = 0;
    const int32_t first = row * board.Shape.ColumnCount;
    for (int32_t bay = first; bay < first + board.Shape.ColumnCount; ++bay) {
        if (!board.HasCars(bay))
            continue;
        bays[n++] = bay;
        if (board.Shown[bay])
            break;
    }
    return n;
}
