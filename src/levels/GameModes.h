#pragma once
#include <cstdint>

// The six ways to play, chosen with the mode labels of the MENU page.
enum class GameMode : int32_t {
    NormalChampionship = 1,
    AdvancedChampionship,
    FreeEasy,
    FreeNormal,
    FreeAdvanced,
    FreeManiac,
};
constexpr int GameModeCount = 6;

// Each championship has 40 levels, which is also the most it unlocks.
constexpr int32_t ChampionshipLevels = 40;

// Which championship a mode advances: its own unlocked level and spin box.
enum class Championship { None, Normal, Advanced };

// Everything the game knows of a mode, in one row.
struct GameModeInfo {
    GameMode Mode;
    const char* Caption;       // the MENU page's label
    const char* Name;          // for the level tool: "normal championship", "free easy"
    int32_t FirstLevel;        // the levels it deals: FirstLevel … FirstLevel + LevelSpan − 1
    int32_t LevelSpan;
    Championship Track;        // a championship's level is chosen in its spin box; a free
                               // mode draws one of its levels at random
    // A win of level L pays RewardBase + RewardPerLevel × (L − FirstLevel + 1).
    int32_t RewardBase;
    int32_t RewardPerLevel;
};

// In mode order 1 … 6.
extern const GameModeInfo GameModes[GameModeCount];

// The row of a mode.
const GameModeInfo& ModeInfo(GameMode mode);

// The level START deals in a mode: a championship's spin box value, clamped into
// its 40 levels so no level outside 1 … 110 is read; a free mode draws one
// RandomBelow over its levels.
int32_t LevelForMode(GameMode mode, int32_t normalLevel, int32_t advancedLevel);

// True for the levels a game mode can deal.
bool IsReachableLevel(int32_t number);
