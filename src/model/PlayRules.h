#pragma once
#include "model/BoardView.h"

#include <cstdint>

enum class ClickOutcome {
    Ignored,     // input disabled: nothing happened, not even the snapshot
    OffBoard,    // outside the shape: only the snapshot was taken
    Nothing,     // a blocked car, or an exhausted bay with no selection
    Selected,    // first click on a free car
    Deselected,  // second click that matched nothing, or an empty bay that only cleared the selection
    PairRemoved,
    Revealed,
};

struct ClickReport {
    ClickOutcome Outcome = ClickOutcome::Ignored;
    // CarsLeft reached 0 at this click; InputEnabled is already cleared and the
    // caller hands the win on (PayWin).
    bool Won = false;
};

// Input back on for the board in play, as the GAME page button gives it: not for
// a won board, which keeps it off from its winning click to the next deal.
void ResumeInput(Board& board);

// One release of a mouse button over the play view, on the bay under the pointer
// (BayAt of the release point).
ClickReport ClickBay(Board& board, BoardView& view, BayPos bay);

struct OptionFlags {
    bool Undo = false;
    bool PreviewEmpty = false;
    bool AutoPreviewEmpty = false;
    bool PreviewOccupied = false;
    bool AutoPreviewOccupied = false;
};

// A pointer move over the play view, on the bay under the pointer: the hover
// marker follows it and the AUTO-PREVIEW options show the hidden car.
void PointerMoveBay(Board& board, BoardView& view, BayPos bay, const OptionFlags& options);

constexpr int KeyBackspace = 8;
constexpr int KeySpace = 32;

// A key release of the window (virtual key code): Backspace undoes with
// "One-step UNDO", Space previews under HoverBay with the PREVIEW options.
// Acts only while input is enabled and the GAME page is active.
void GameKeyUp(Board& board, BoardView& view, int key, bool gamePageActive, const OptionFlags& options);
