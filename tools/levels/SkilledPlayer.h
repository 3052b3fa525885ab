#pragma once
// A simulated player who thinks ahead. It plays through the game's own click,
// pointer and key handlers and knows only what they show: the top cars, the
// hidden count of every bay, the cars a preview option shows and what it has
// seen and remembers (SkilledMemory). Where a choice matters it imagines the
// hidden cars many times, as a deal would have placed them (ImaginedDeals), and
// plays its choices out in every imagined board (MoveChoice); with few cars
// unseen it plans the clearing of each imagined board instead and makes the
// move most plans begin with (SolverPlan).
#include "levels/LevelFile.h"
#include "model/PlayRules.h"
#include "tools/levels/GameResult.h"

#include <cstdint>
#include <memory>

struct SkilledSettings {
    // The shop options it owns.
    OptionFlags Items;
    // Imagined boards per decision; 0 plays the rule of thumb alone.
    int32_t Worlds = 8;
    // The best choices by the rule of thumb that the search weighs.
    int32_t Choices = 4;
};

// One player over one dealt board, a move at a time (for tests that watch it).
class SkilledPlayer {
public:
    // `board` must have just been dealt from `level`; `seed` fixes every choice.
    SkilledPlayer(Board& board, const LevelRecord& level, const SkilledSettings& settings, uint64_t seed);
    ~SkilledPlayer();
    SkilledPlayer(const SkilledPlayer&) = delete;
    SkilledPlayer& operator=(const SkilledPlayer&) = delete;

    // Looks under what its options let it see, then plays one pair or reveal
    // through ClickBay. False when the board is won or no move is left.
    bool Step(GameResult& result);

private:
    struct Impl;
    std::unique_ptr<Impl> P;
};

// Plays the just-dealt board of `level` to its end.
GameResult PlayOutSkilled(Board& board, const LevelRecord& level, const SkilledSettings& settings, uint64_t seed);
