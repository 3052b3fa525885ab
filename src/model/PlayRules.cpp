#include "PlayRules.h"

namespace {

// A car click: select a free car, or pair it with the selected one.
ClickOutcome CarClick(Board& board, BoardView& view, BayPos bay)
{
    if (!IsFree(board, bay.Column, bay.Row))
        return ClickOutcome::Nothing; // a selection elsewhere stays, marker and all
    if (!board.CarSelected) {
        board.CarSelected = true;
        board.SelectedBay = bay;
        view.ShowSelectionMarker(bay.Column, bay.Row);
        return ClickOutcome::Selected;
    }
    board.CarSelected = false;
    view.HideSelectionMarker();
    view.MoveHoverMarker(bay.Column, bay.Row);
    const BayPos first = board.SelectedBay;
    CarId& firstTop = board.Cells(first.Column, first.Row).Slot[0];
    CarId& secondTop = board.Cells(bay.Column, bay.Row).Slot[0];
    if (bay == first || firstTop != secondTop)
        return ClickOutcome::Deselected;
    firstTop = 0;
    secondTop = 0;
    view.HideCar(first.Column, first.Row);
    view.HideCar(bay.Column, bay.Row);
    board.CarsLeft -= 2;
    view.ShowCarsLeft(board.CarsLeft);
    return ClickOutcome::PairRemoved;
}

// An empty top: clears any selection and brings up the next hidden car, wherever the bay stands.
ClickOutcome RevealClick(Board& board, BoardView& view, BayPos bay)
{
    ClickOutcome outcome = ClickOutcome::Nothing;
    if (board.CarSelected) {
        board.CarSelected = false;
        view.HideSelectionMarker();
        outcome = ClickOutcome::Deselected;
    }
    if (board.Cells(bay.Column, bay.Row).Slot[1] == 0)
        return outcome;
    RevealNext(board, bay.Column, bay.Row);
    view.ShowCar(bay.Column, bay.Row, board.Cells(bay.Column, bay.Row).Slot[0]);
    view.ShowHiddenCount(bay.Column, bay.Row, board.HiddenCount(bay.Column, bay.Row));
    return ClickOutcome::Revealed;
}

// The car a preview would show: slot 1, when the bay's top matches the option's kind.
CarId PreviewCar(const Board& board, BayPos bay, bool emptyTops, bool occupiedTops)
{
    if (!InsideShape(board, bay))
        return 0;
    const Cell& cell = board.Cells(bay.Column, bay.Row);
    if (cell.Slot[1] == 0)
        return 0;
    const bool empty = cell.Slot[0] == 0;
    return (empty ? emptyTops : occupiedTops) ? cell.Slot[1] : 0;
}

} // namespace

void ResumeInput(Board& board)
{
    // A won board takes no more input: a click would pay the win again, and an
    // undo would bring back the last pair to be won twice.
    board.InputEnabled = board.CarsLeft > 0;
}

ClickReport ClickBay(Board& board, BoardView& view, BayPos bay)
{
    ClickReport report;
    if (!board.InputEnabled)
        return report;
    TakeSnapshot(board);
    if (!InsideShape(board, bay)) {
        report.Outcome = ClickOutcome::OffBoard;
        return report;
    }
    view.BeginUpdate();
    if (board.Cells(bay.Column, bay.Row).Slot[0] == 0)
        report.Outcome = RevealClick(board, view, bay);
    else
        report.Outcome = CarClick(board, view, bay);
    view.EndUpdate();
    view.Changed();
    if (board.CarsLeft == 0) {
        board.InputEnabled = false;
        report.Won = true;
    }
    return report;
}

void PointerMoveBay(Board& board, BoardView& view, BayPos bay, const OptionFlags& options)
{
    if (!board.InputEnabled)
        return;
    board.InputEnabled = false;
    board.HoverBay = bay;
    if (InsideShape(board, bay)) {
        view.BeginUpdate();
        view.MoveHoverMarker(bay.Column, bay.Row);
        view.EndUpdate();
        view.Changed();
        if (const CarId car = PreviewCar(board, bay, options.AutoPreviewEmpty, options.AutoPreviewOccupied))
            view.ShowPreview(car);
    }
    board.InputEnabled = true;
}

void GameKeyUp(Board& board, BoardView& view, int key, bool gamePageActive, const OptionFlags& options)
{
    if (!board.InputEnabled || !gamePageActive)
        return;
    if (key == KeyBackspace && options.Undo)
        RestoreSnapshot(board, view);
    if (key == KeySpace)
        if (const CarId car = PreviewCar(board, board.HoverBay, options.PreviewEmpty, options.PreviewOccupied))
            view.ShowPreview(car);
}
