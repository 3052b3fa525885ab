#pragma once
// The skilled player's plans: when it knows enough of its board, the solver
// clears it (or each of a few imagined boards) and the player makes the first
// move of the plan (or the first move most of those plans share).
#include "tools/levels/ImaginedDeals.h"
#include "tools/levels/SearchBoard.h"
#include "tools/levels/SkilledMove.h"
#include "tools/levels/Solver.h"

#include <cstdint>
#include <memory>
#include <vector>

class SolverPlan {
public:
    // `worlds` imagined boards vote on a move when a few cars are unseen; with
    // 0 it plans only with every car in sight.
    explicit SolverPlan(int32_t worlds);

    // The planned move for the board as the player knows it (0 for a car not
    // seen); `removed` counts the cars of each id gone. False when it makes no
    // planned move: too much is unseen, or no plan clears the board.
    bool Choose(const SearchBoard& known, const int32_t* removed, ImaginedDeals& imagined, SkilledMove& chosen);

private:
    bool FirstPlannedMove(const SearchBoard& board, SkilledMove& move);

    // Below this many unseen cars the imagined boards differ little: plan them.
    static constexpr int32_t FewUnseen = 32;
    Solver Planner{200000};
    std::vector<SearchMove> PlanMoves;
    std::vector<SearchBoard> Worlds;
    std::unique_ptr<SearchBoard> Scratch = std::make_unique<SearchBoard>();
};
