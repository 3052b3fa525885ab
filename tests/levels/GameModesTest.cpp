#include "core/Random.h"
#include "levels/GameModes.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace {

// The random state whose next draw is `next`: RandomBelow(n) then gives 0 for
// next = 0 and n − 1 for next = 2^32 − 1, whatever n is.
uint32_t StateBefore(uint32_t next)
{
    const uint32_t a = 134775813u;
    uint32_t inverse = a; // Newton's iteration doubles the correct low bits each step
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - a * inverse;
    return (next - 1u) * inverse;
}

} // namespace

// The level START reads for what a mode's box holds, at every edge: no number
// outside the mode's own levels reaches the level table. The other box holds
// 20, so a championship that read the wrong box lands inside its levels instead
// of on the edge; a free mode ignores both boxes, and its lowest and highest
// draws give its first and last level.
TEST(GameModes, EachPicksItsOwnLevelsAtEveryEdge)
{
    constexpr int32_t Largest = std::numeric_limits<int32_t>::max();
    constexpr int32_t Smallest = std::numeric_limits<int32_t>::min();
    constexpr uint32_t LowestDraw = 0, HighestDraw = 0xFFFFFFFFu;
    const GameMode normal = GameMode::NormalChampionship, advanced = GameMode::AdvancedChampionship;
    struct Case {
        GameMode Mode;
        int32_t Typed;     // into the mode's own box (the normal box for a free mode)
        uint32_t NextDraw; // a free mode's draw
        int32_t Level;
        const char* What;
    };
    const Case cases[] = {
        {normal, 0, LowestDraw, 1, "typed 0"},
        {normal, 1, LowestDraw, 1, "typed 1"},
        {normal, 40, LowestDraw, 40, "typed 40, the span"},
        {normal, 41, LowestDraw, 40, "typed 41, the span + 1"},
        {normal, 99, LowestDraw, 40, "typed 99, the most two digits hold"},
        {normal, Largest, LowestDraw, 40, "typed the largest number"},
        {normal, -1, LowestDraw, 1, "typed -1"},
        {normal, Smallest, LowestDraw, 1, "typed the most negative number"},
        {advanced, 0, LowestDraw, 41, "typed 0"},
        {advanced, 1, LowestDraw, 41, "typed 1"},
        {advanced, 40, LowestDraw, 80, "typed 40, the span"},
        {advanced, 41, LowestDraw, 80, "typed 41, the span + 1"},
        {advanced, 75, LowestDraw, 80, "typed 75 (level 115 unclamped)"},
        {advanced, 99, LowestDraw, 80, "typed 99, the most two digits hold"},
        {advanced, Largest, LowestDraw, 80, "typed the largest number"},
        {advanced, -1, LowestDraw, 41, "typed -1"},
        {advanced, Smallest, LowestDraw, 41, "typed the most negative number"},
        {GameMode::FreeEasy, 0, LowestDraw, 81, "the lowest draw"},
        {GameMode::FreeEasy, Largest, HighestDraw, 84, "the highest draw"},
        {GameMode::FreeNormal, 0, LowestDraw, 91, "the lowest draw"},
        {GameMode::FreeNormal, Largest, HighestDraw, 94, "the highest draw"},
        {GameMode::FreeAdvanced, 0, LowestDraw, 101, "the lowest draw"},
        {GameMode::FreeAdvanced, Largest, HighestDraw, 104, "the highest draw"},
        {GameMode::FreeManiac, -1, LowestDraw, 106, "the lowest draw"},
        {GameMode::FreeManiac, Smallest, HighestDraw, 109, "the highest draw"},
    };
    for (const Case& c : cases) {
        const bool isAdvanced = c.Mode == advanced;
        const int32_t normalBox = isAdvanced ? 20 : c.Typed, advancedBox = isAdvanced ? c.Typed : 20;
        const uint32_t state = StateBefore(c.NextDraw);
        SetRandomState(state);
        EXPECT_EQ(LevelForMode(c.Mode, normalBox, advancedBox), c.Level)
            << ModeInfo(c.Mode).Name << " (mode " << static_cast<int>(c.Mode) << "), " << c.What;
        if (c.Mode == normal || isAdvanced) {
            EXPECT_EQ(RandomState(), state) << ModeInfo(c.Mode).Name << " draws no random number";
        }
    }
}
