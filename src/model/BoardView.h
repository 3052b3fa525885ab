#pragma once
#include "model/Board.h"

// Everything the rules and the generator change on screen goes through here.
// The real one draws the play view and the preview box; tests record the calls.
// Operations other than the bracket itself are called inside BeginUpdate … EndUpdate.
// Each carries what it shows: a view never reads the board back.
class BoardView {
public:
    virtual ~BoardView() = default;

    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    // One repaint, but only once no bracket is open.
    virtual void Changed() = 0;

    // Hides every ground layer, the selection marker and every car layer, and
    // forgets which bay owns which layers; the background black. A shape's
    // picture is the window's to show, once the board is dealt.
    virtual void ResetBoardScene(int32_t shapeId) = 0;
    // One step of LayOutBays: the bay with this ordinal owns its ground and car
    // layers from now on and they get its rectangles.
    virtual void PlaceBay(int32_t ordinal, int32_t column, int32_t row) = 0;

    // Ground tile 83 + `count`, the bay's hidden cars, made visible.
    virtual void ShowHiddenCount(int32_t column, int32_t row, int32_t count) = 0;
    // Ground tile 83 + `count`, visibility untouched.
    virtual void SetHiddenCountPicture(int32_t column, int32_t row, int32_t count) = 0;
    virtual void ShowCar(int32_t column, int32_t row, CarId car) = 0;
    virtual void HideCar(int32_t column, int32_t row) = 0;

    virtual void MoveHoverMarker(int32_t column, int32_t row) = 0;
    virtual void ResetHoverMarker() = 0;
    virtual void ShowSelectionMarker(int32_t column, int32_t row) = 0;
    virtual void HideSelectionMarker() = 0;

    // Label1: the number followed by " cars left".
    virtual void ShowCarsLeft(int32_t carsLeft) = 0;
    // The preview box; opens and closes its own bracket.
    virtual void ShowPreview(CarId car) = 0;
};

// Hands the view every bay of the current shape with its BayOrdinal, row by row.
void LayOutBays(const Board& board, BoardView& view);

// The one-step undo: brings back the stacks, counts and CarsLeft of the snapshot,
// redrawing only the bays that differ. The selection is not touched.
void RestoreSnapshot(Board& board, BoardView& view);
