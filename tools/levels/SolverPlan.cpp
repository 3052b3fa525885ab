#include "tools/levels/SolverPlan.h"

#include <algorithm>
#include <utility>

SolverPlan::SolverPlan(int32_t worlds) : Worlds(static_cast<size_t>(std::max(worlds, 0))) {}

// The first move of a plan that clears `board` (a reveal where a planned car
// lies under an emptied bay); false when no plan clears it.
bool SolverPlan::FirstPlannedMove(const SearchBoard& board, SkilledMove& move)
{
    *Scratch = board;
    if (Planner.Solve(*Scratch, &PlanMoves) != SolveOutcome::Cleared || PlanMoves.empty())
        return false;
    // The plan reveals a bay only to take the car that comes up.
    for (const int32_t bay : {int32_t{PlanMoves[0].First}, int32_t{PlanMoves[0].Second}})
        if (!board.Shown[bay]) {
            move = {true, bay, bay};
            return true;
        }
    move = {false, PlanMoves[0].First, PlanMoves[0].Second};
    return true;
}

// With every car left in sight (the previews show what is under every bay,
// the undo what is under that), there is nothing to imagine: it plans the
// whole clearing and makes its first move.
bool SolverPlan::Choose(const SearchBoard& known, const int32_t* removed, ImaginedDeals& imagined, SkilledMove& chosen)
{
    int32_t unseen = 0;
    bool nextUnseen = false;
    for (int32_t bay = 0; bay < known.Bays(); ++bay) {
        for (int8_t i = known.Next[bay]; i < known.End[bay]; ++i)
            unseen += known.Car[bay][i] == 0;
        nextUnseen = nextUnseen || (!known.Shown[bay] && known.HasCars(bay) && known.NextCar(bay) == 0);
    }
    if (unseen == 0)
        return FirstPlannedMove(known, chosen);
    // Plans of imagined boards are only as good as the imagined cars: it
    // plans when it knows every car a reveal would bring up now.
    if (unseen > FewUnseen || nextUnseen || Worlds.empty())
        return false;
    // A few cars unseen: each imagined board proposes the first move of its
    // own plan, and the move most of them propose is made.
    std::vector<std::pair<SkilledMove, int32_t>> votes;
    for (SearchBoard& world : Worlds) {
        SkilledMove m;
        if (!imagined.Imagine(known, removed, world) || !FirstPlannedMove(world, m))
            continue;
        const auto found = std::find_if(votes.begin(), votes.end(), [&](const auto& v) { return v.first == m; });
        if (found == votes.end())
            votes.push_back({m, 1});
        else
            ++found->second;
    }
    if (votes.empty())
        return false;
    chosen = std::max_element(votes.begin(), votes.end(), [](const auto& x, const auto& y) { return x.second < y.second; })->first;
    return true;
}
