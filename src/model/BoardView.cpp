#include "BoardView.h"

void LayOutBays(const Board& board, BoardView& view)
{
    const BoardShape& s = board.CurrentShape;
    for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
        for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column)
            view.PlaceBay(BayOrdinal(s, column, row), column, row);
}

void RestoreSnapshot(Board& board, BoardView& view)
{
    board.InputEnabled = false;
    view.BeginUpdate();
    const UndoSnapshot& snap = board.Snapshot;
    for (int slot = 0; slot < SlotCount; ++slot)
        for (int32_t row = GridMinRow; row <= GridMaxRow; ++row)
            for (int32_t column = GridMinColumn; column <= GridMaxColumn; ++column) {
                CarId& car = board.Cells(column, row).Slot[slot];
                const CarId saved = snap.Cells(column, row).Slot[slot];
                if (slot > 0) {
                    car = saved;
                    continue;
                }
                int32_t& count = board.HiddenCount(column, row);
                if (count != snap.HiddenCount(column, row)) {
                    count = snap.HiddenCount(column, row);
                    view.SetHiddenCountPicture(column, row, count);
                }
                if (car != saved) {
                    car = saved;
                    if (car == 0)
                        view.HideCar(column, row);
                    else
                        view.ShowCar(column, row, car);
                }
            }
    board.CarsLeft = snap.CarsLeft;
    view.ShowCarsLeft(board.CarsLeft);
    view.EndUpdate();
    view.Changed();
    board.InputEnabled = true;
}
