#pragma once
// What the skilled player has seen and remembers of its board: the top cars and
// hidden counts the deal showed, the cars its preview options show under a bay,
// the cars a reveal taken back with the undo brought into sight, and every move
// it has made since. It learns all of it through the game's own handlers.
#include "levels/LevelFile.h"
#include "model/PlayRules.h"
#include "model/SilentView.h"
#include "tools/levels/SearchBoard.h"

#include <cstdint>

// What reaches the player's eyes: the car a reveal brings up and the preview box.
class Eyes : public SilentView {
public:
    BayPos LastShown;
    CarId LastShownCar = 0;
    CarId Preview = 0;

    void ShowCar(int32_t column, int32_t row, CarId car) override
    {
        LastShown = {column, row};
        LastShownCar = car;
    }
    void ShowPreview(CarId car) override { Preview = car; }
};

// The handlers showed what the rules rule out: the skilled player and the game
// disagree about the board, and its measure would be worthless.
[[noreturn]] void SkilledPlayerDisagrees(const char* what);

class SkilledMemory {
public:
    // `board` must have just been dealt from `level`.
    SkilledMemory(const Board& board, const LevelRecord& level);

    // Looks under what `items` let it see: moves the pointer over every bay
    // (and presses Space for a PREVIEW); with the undo it reveals an emptied
    // bay, reads the car that came up and the one now beneath it, and takes
    // the reveal back.
    void Look(Board& board, const OptionFlags& items);

    // The board as far as it knows it, with 0 for every car it has not seen.
    void Known(SearchBoard& known) const;
    // Cars of each id gone from the board.
    const int32_t* Removed() const { return RemovedCars; }

    // The view its clicks go through, which remembers what they showed.
    Eyes& View() { return Sight; }
    // After a click through View() that revealed search bay `bay`.
    void Revealed(int32_t bay);
    // After a click through View() that removed the pair of search bays `a` and `b`.
    void PairRemoved(int32_t a, int32_t b);

private:
    // What it remembers of a bay: its top car (0 when emptied), how many cars
    // are hidden beneath, and those of them it has seen (0 where not).
    struct BayMemory {
        CarId Top = 0;
        int8_t Hidden = 0;
        CarId Below[SlotCount - 1] = {};
    };

    int32_t Bays() const { return SearchBayCount(Shape); }
    BayPos PositionOf(int32_t bay) const { return SearchPosition(Shape, bay); }
    CarId PreviewUnder(Board& board, int32_t bay, const OptionFlags& items);
    void PeekWithUndo(Board& board, const OptionFlags& items, bool underOccupied);

    BoardShape Shape;
    DealOrder Order;
    Eyes Sight;
    BayMemory Memory[MaxBays];
    int32_t RemovedCars[CarCount + 1] = {};
};
