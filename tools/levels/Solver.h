#pragma once
// A solver that sees every hidden car, and the play of its moves on the real board.
#include "tools/levels/SearchBoard.h"

#include <cstdint>
#include <vector>

class BoardView;

enum class SolveOutcome { Cleared, Stuck, GaveUp };

// Depth-first search over the pairs that can go. It takes at once every id all
// of whose remaining cars can go (no later move can need them to stay), backs
// out of a position where an id has more than half of its cars in one row (a pair
// needs two rows), remembers the positions it has already failed from, and tries
// likely pairs first: those the deal filled last.
class Solver {
public:
    // At most `nodeBudget` positions are expanded; then Solve gives up.
    explicit Solver(int32_t nodeBudget);
    ~Solver();
    Solver(const Solver&) = delete;
    Solver& operator=(const Solver&) = delete;

    // Searches from `board`, which it changes. With `moves`, a clearing sequence
    // is left there when the result is Cleared.
    SolveOutcome Solve(SearchBoard& board, std::vector<SearchMove>* moves = nullptr);
    int64_t Nodes() const { return NodeCount; }

private:
    struct Impl;
    Impl* State;
    int64_t NodeCount = 0;
};

// Plays a clearing sequence on the real board through ClickBay: a reveal first
// where a car comes from under an emptied top, then the two clicks of the pair.
// Returns false as soon as a click does not do what the move needs.
bool PlayMoves(Board& board, BoardView& view, const SearchBoard& start, const std::vector<SearchMove>& moves);
