#include "tools/levels/BlockedForGood.h"

namespace {

CarId CarAt(const Board& board, CarSpot spot) { return board.Cells(spot.Bay.Column, spot.Bay.Row).Slot[spot.Slot]; }

} // namespace

bool WaitsOn(CarSpot waiting, CarSpot other)
{
    if (waiting.Bay.Row != other.Bay.Row)
        return false;
    if (waiting.Bay.Column == other.Bay.Column)
        return other.Slot < waiting.Slot;
    return other.Bay.Column < waiting.Bay.Column && other.Slot == 0;
}

bool IsBlockedForGood(const Board& board, CarSpot car)
{
    const CarId id = CarAt(board, car);
    const BoardShape& s = board.CurrentShape;
    for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
        for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column)
            for (int32_t slot = 0; slot < SlotCount; ++slot) {
                const CarSpot other{{column, row}, slot};
                if (other.Bay == car.Bay && other.Slot == car.Slot)
                    continue;
                if (CarAt(board, other) == id && !WaitsOn(other, car))
                    return false;
            }
    return true;
}
