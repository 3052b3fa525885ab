#include "BoardView.h"

void LayOutBays(Board& board, BoardView& view)
{
    board.BayOrdinal.Fill(0);
    const BoardShape& s = board.CurrentShape;
    int32_t k = 1;
    for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
        for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column) {
            view.PlaceBay(k, column, row);
            board.BayOrdinal(column, row) = k;
            ++k;
        }
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
