#pragma once
// The casual player and its careful variant: each takes a random pair of free
// cars of one id through the game's click handler, and reveals a random emptied
// bay only when no pair is free.
#include "model/Board.h"
#include "tools/levels/GameResult.h"
#include "tools/levels/PlayerRandom.h"

class BoardView;

enum class PlayerKind {
    // Takes a uniformly random matching free pair; reveals a random emptied bay
    // only when no pair is free; has lost when it can do neither.
    Casual,
    // The same, but passes over a pair that would leave a car of the same id
    // blocked for good (see IsBlockedForGood) while any other pair avoids that.
    Careful,
};

// Plays the dealt board to its end through ClickBay. The board must have just
// been dealt (input enabled, nothing selected).
GameResult PlayOut(Board& board, BoardView& view, PlayerKind player, PlayerRandom& random);
