#pragma once
#include "model/Board.h"

#include <string>

// The number of non-zero slots on the whole grid; equals CarsLeft at all times.
inline int32_t CountCars(const Board& board)
{
    int32_t count = 0;
    for (int32_t c = GridMinColumn; c <= GridMaxColumn; ++c)
        for (int32_t r = GridMinRow; r <= GridMaxRow; ++r)
            for (CarId car : board.Cells(c, r).Slot)
                count += car != 0;
    return count;
}

// The board invariants that hold whenever input is enabled. Empty when all hold.
inline std::string BrokenInvariant(const Board& b)
{
    for (int32_t c = GridMinColumn; c <= GridMaxColumn; ++c)
        for (int32_t r = GridMinRow; r <= GridMaxRow; ++r) {
            const std::string at = " at " + std::to_string(c) + "," + std::to_string(r);
            const Cell& cell = b.Cells(c, r);
            const int32_t hidden = b.HiddenCount(c, r);
            if (!InsideShape(b, c, r)) {
                if (hidden != 0 || !(cell == Cell{}))
                    return "something left outside the shape" + at;
                continue;
            }
            if (hidden < 0 || hidden > 5)
                return "hidden count " + std::to_string(hidden) + at;
            for (int slot = 1; slot < SlotCount; ++slot)
                if ((cell.Slot[slot] != 0) != (slot <= hidden))
                    return "hidden cars do not fill slots 1 to " + std::to_string(hidden) + at;
            for (CarId car : cell.Slot)
                if (car < 0 || car > 82)
                    return "car id " + std::to_string(car) + at;
        }
    if (b.CarsLeft != CountCars(b))
        return "CarsLeft " + std::to_string(b.CarsLeft) + " but " + std::to_string(CountCars(b)) + " cars on the board";
    if (b.CarSelected) {
        const BayPos& sel = b.SelectedBay;
        if (!InsideShape(b, sel) || b.Cells(sel.Column, sel.Row).Slot[0] == 0 || !IsFree(b, sel.Column, sel.Row))
            return "the selection is not a free top car";
    }
    return {};
}
