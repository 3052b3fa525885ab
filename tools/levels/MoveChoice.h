#pragma once
// How the skilled player chooses a move when it does not plan one.
//
// The first choice is a rule of thumb over what is in sight: a pair of free
// cars whenever there is one, else a reveal; first the reveal that brings up
// a car seen in a preview whose partner is free, then the car the deal placed
// latest (it is the likeliest to find its partner in sight), a car that comes
// up free before one that comes up behind its row's free car. The choices that
// matter (which pair of three or more free cars of one id, and which reveal)
// are weighed by playing each out with the rule of thumb in every imagined board.
#include "tools/levels/ImaginedDeals.h"
#include "tools/levels/SearchBoard.h"
#include "tools/levels/SkilledMove.h"

#include <cstdint>
#include <memory>
#include <vector>

class MoveChoice {
public:
    // `worlds` imagined boards weigh a choice that matters (0: the rule of thumb
    // alone), `choices` the best choices by the rule of thumb that they weigh;
    // `seesUnder`: the items show the car beneath an emptied bay.
    MoveChoice(int32_t worlds, int32_t choices, bool seesUnder);

    // The move for the board as the player knows it (0 for a car not seen);
    // `removed` counts the cars of each id gone. False when it can do nothing.
    bool Choose(const SearchBoard& known, const int32_t* removed, ImaginedDeals& imagined, SkilledMove& chosen);

private:
    struct World {
        SearchBoard Board;
        bool Imagined = false;
    };

    int32_t ImagineWorlds(const SearchBoard& known, const int32_t* removed, ImaginedDeals& imagined);
    // Imagined boards the rule of thumb clears after `first`.
    int32_t Wins(const SkilledMove& first);
    bool PlaysOut(const SearchBoard& world, const SkilledMove& first);

    const int32_t Choices;
    const bool SeesUnder;
    std::vector<World> Worlds;
    std::unique_ptr<SearchBoard> Scratch = std::make_unique<SearchBoard>();
};
