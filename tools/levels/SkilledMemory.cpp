#include "tools/levels/SkilledMemory.h"

#include <cstring>
#include <stdexcept>
#include <string>

void SkilledPlayerDisagrees(const char* what)
{
    throw std::logic_error(std::string("skilled player: ") + what);
}

SkilledMemory::SkilledMemory(const Board& board, const LevelRecord& level) : Shape(board.CurrentShape), Order(level)
{
    // The screen as the deal left it: top cars and hidden counts.
    for (int32_t bay = 0; bay < Bays(); ++bay) {
        const BayPos at = PositionOf(bay);
        Memory[bay].Top = board.Cells(at.Column, at.Row).Slot[0];
        Memory[bay].Hidden = static_cast<int8_t>(board.HiddenCount(at.Column, at.Row));
    }
}

CarId SkilledMemory::PreviewUnder(Board& board, int32_t bay, const OptionFlags& items)
{
    const BayPos at = PositionOf(bay);
    Sight.Preview = 0;
    PointerMoveBay(board, Sight, at, items);
    if (Sight.Preview == 0)
        GameKeyUp(board, Sight, KeySpace, true, items);
    return Sight.Preview;
}

void SkilledMemory::Look(Board& board, const OptionFlags& items)
{
    const bool underEmpty = items.PreviewEmpty || items.AutoPreviewEmpty;
    const bool underOccupied = items.PreviewOccupied || items.AutoPreviewOccupied;
    for (int32_t bay = 0; bay < Bays(); ++bay) {
        BayMemory& m = Memory[bay];
        if (m.Hidden > 0 && m.Below[0] == 0 && (m.Top ? underOccupied : underEmpty)) {
            m.Below[0] = PreviewUnder(board, bay, items);
            if (m.Below[0] == 0)
                SkilledPlayerDisagrees("a preview showed nothing over a bay with a hidden car");
        }
    }
    if (items.Undo)
        PeekWithUndo(board, items, underOccupied);
}

// Reveal, read the car that came up and the one now beneath it, take the reveal back.
void SkilledMemory::PeekWithUndo(Board& board, const OptionFlags& items, bool underOccupied)
{
    for (int32_t bay = 0; bay < Bays(); ++bay) {
        BayMemory& m = Memory[bay];
        const bool second = m.Hidden >= 2 && m.Below[1] == 0 && underOccupied;
        if (m.Top != 0 || m.Hidden == 0 || (m.Below[0] != 0 && !second))
            continue;
        const BayPos at = PositionOf(bay);
        if (ClickBay(board, Sight, at).Outcome != ClickOutcome::Revealed || Sight.LastShown != at)
            SkilledPlayerDisagrees("a reveal to peek did not bring a car up");
        m.Below[0] = Sight.LastShownCar;
        if (second) {
            m.Below[1] = PreviewUnder(board, bay, items);
            if (m.Below[1] == 0)
                SkilledPlayerDisagrees("a preview showed nothing over a revealed bay");
        }
        GameKeyUp(board, Sight, KeyBackspace, true, items);
        if (board.Cells(at.Column, at.Row).Slot[0] != 0)
            SkilledPlayerDisagrees("the undo did not take the reveal back");
    }
}

void SkilledMemory::Known(SearchBoard& known) const
{
    known.Shape = Shape;
    known.CarsLeft = 0;
    for (int32_t bay = 0; bay < Bays(); ++bay) {
        const BayMemory& m = Memory[bay];
        CarId cars[SlotCount];
        int8_t n = 0;
        if (m.Top)
            cars[n++] = m.Top;
        for (int8_t h = 0; h < m.Hidden; ++h)
            cars[n++] = m.Below[h];
        SetBay(known, Order, bay, cars, n, m.Top != 0);
    }
}

void SkilledMemory::Revealed(int32_t bay)
{
    if (Sight.LastShown != PositionOf(bay))
        SkilledPlayerDisagrees("a reveal did not bring a car up");
    BayMemory& m = Memory[bay];
    if (m.Below[0] != 0 && m.Below[0] != Sight.LastShownCar)
        SkilledPlayerDisagrees("the revealed car is not the one seen in the preview");
    m.Top = Sight.LastShownCar;
    std::memmove(m.Below, m.Below + 1, sizeof(CarId) * (SlotCount - 2));
    m.Below[SlotCount - 2] = 0;
    --m.Hidden;
}

void SkilledMemory::PairRemoved(int32_t a, int32_t b)
{
    const CarId car = Memory[a].Top;
    Memory[a].Top = Memory[b].Top = 0;
    RemovedCars[car] += 2;
}
