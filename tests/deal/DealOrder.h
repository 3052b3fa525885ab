#pragma once
// Clears a fresh deal by taking its pairs off in the reverse order of dealing,
// through any click handler: the rules' own, or the window's.
#include "model/Board.h"
#include "model/PlayRules.h"

#include <string>
#include <vector>

// Every dealt car is its pair's pool entry (`pool(p)`); an empty string when so.
template <class Pool> std::string PairsCarryTheirPool(const Board& b, const BayGrid<Cell>& pairs, const Pool& pool)
{
    const BoardShape& s = b.CurrentShape;
    for (int32_t r = s.MinRow; r <= s.MaxRow; ++r)
        for (int32_t c = s.MinColumn; c <= s.MaxColumn; ++c)
            for (int slot = 0; slot < SlotCount; ++slot) {
                const int p = pairs(c, r).Slot[slot];
                if (p > 0 && p <= b.CarsLeft / 2 && b.Cells(c, r).Slot[slot] != pool(p))
                    return "pair " + std::to_string(p) + " does not carry its pool entry";
            }
    return "";
}

// A free car and its free twin in another row, if the board has one.
inline bool FindFreePair(const Board& board, BayPos& a, BayPos& b)
{
    const BoardShape& s = board.CurrentShape;
    for (int32_t r1 = s.MinRow; r1 <= s.MaxRow; ++r1)
        for (int32_t c1 = s.MinColumn; c1 <= s.MaxColumn; ++c1)
            for (int32_t r2 = r1 + 1; r2 <= s.MaxRow; ++r2)
                for (int32_t c2 = s.MinColumn; c2 <= s.MaxColumn; ++c2) {
                    const CarId car = board.Cells(c1, r1).Slot[0];
                    if (car != 0 && car == board.Cells(c2, r2).Slot[0] && IsFree(board, c1, r1) && IsFree(board, c2, r2)) {
                        a = {c1, r1};
                        b = {c2, r2};
                        return true;
                    }
                }
    return false;
}

// `pairs` is the deal's pair numbering (the Pairs of the deal's DealTrace);
// `click(bay)` plays one click and returns its report. Returns what went wrong,
// or an empty string when the last pair was reported as the win.
template <class Click> std::string ClearInDealOrder(const Board& b, BayGrid<Cell> pairs, Click&& click)
{
    const int pairCount = b.CarsLeft / 2;
    std::vector<std::vector<BayPos>> where(static_cast<size_t>(pairCount) + 1);
    const BoardShape& s = b.CurrentShape;
    for (int32_t r = s.MinRow; r <= s.MaxRow; ++r)
        for (int32_t c = s.MinColumn; c <= s.MaxColumn; ++c)
            for (int slot = 0; slot < SlotCount; ++slot) {
                const int p = pairs(c, r).Slot[slot];
                if (p < 0 || p > pairCount)
                    return "pair number " + std::to_string(p) + " out of range";
                if (p != 0)
                    where[static_cast<size_t>(p)].push_back({c, r});
            }
    for (int p = 1; p <= pairCount; ++p)
        if (where[static_cast<size_t>(p)].size() != 2 || where[static_cast<size_t>(p)][0].Row == where[static_cast<size_t>(p)][1].Row)
            return "pair " + std::to_string(p) + " is not two cars in two rows";

    for (int p = pairCount; p >= 1; --p) {
        const std::vector<BayPos>& twins = where[static_cast<size_t>(p)];
        for (const BayPos& bay : twins) {
            while (b.Cells(bay.Column, bay.Row).Slot[0] == 0) {
                if (click(bay).Outcome != ClickOutcome::Revealed)
                    return "a reveal for pair " + std::to_string(p) + " failed";
                MoveStackUp(pairs(bay.Column, bay.Row));
            }
            if (pairs(bay.Column, bay.Row).Slot[0] != p)
                return "pair " + std::to_string(p) + " is still covered when its turn comes";
        }
        if (click(twins[0]).Outcome != ClickOutcome::Selected)
            return "the first car of pair " + std::to_string(p) + " is not free";
        const ClickReport second = click(twins[1]);
        if (second.Outcome != ClickOutcome::PairRemoved)
            return "the second car of pair " + std::to_string(p) + " did not match";
        if (second.Won != (p == 1))
            return p == 1 ? "the last pair did not win" : "a win before the board was empty";
    }
    if (b.CarsLeft != 0 || b.InputEnabled)
        return "the board was not won";
    return "";
}
