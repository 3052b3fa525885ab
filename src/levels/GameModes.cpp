#include "GameModes.h"

#include "core/Random.h"

#include <algorithm>
#include <cassert>
#include <iterator>

const GameModeInfo GameModes[GameModeCount] = {
    {GameMode::NormalChampionship, "* Championship (40 levels) - normal", "normal championship", 1, ChampionshipLevels,
     Championship::Normal, 100, 5},
    {GameMode::AdvancedChampionship, "* Championship (40 levels) - advanced", "advanced championship", 41, ChampionshipLevels,
     Championship::Advanced, 0, 20},
    {GameMode::FreeEasy, "* Free Level - easy", "free easy", 81, 4, Championship::None, 50, 0},
    {GameMode::FreeNormal, "* Free Level - normal", "free normal", 91, 4, Championship::None, 150, 0},
    {GameMode::FreeAdvanced, "* Free Level - advanced", "free advanced", 101, 4, Championship::None, 300, 0},
    {GameMode::FreeManiac, "* Free Level - maniac", "free maniac", 106, 4, Championship::None, 500, 0},
};

const GameModeInfo& ModeInfo(GameMode mode)
{
    const int32_t id = static_cast<int32_t>(mode);
    assert(id >= 1 && id <= GameModeCount);
    return GameModes[std::clamp(id, 1, GameModeCount) - 1];
}

int32_t LevelForMode(GameMode mode, int32_t normalLevel, int32_t advancedLevel)
{
    const GameModeInfo& info = ModeInfo(mode);
    switch (info.Track) {
    case Championship::Normal:
        return info.FirstLevel + std::clamp(normalLevel, 1, info.LevelSpan) - 1;
    case Championship::Advanced:
        return info.FirstLevel + std::clamp(advancedLevel, 1, info.LevelSpan) - 1;
    case Championship::None:
        break;
    }
    return info.FirstLevel + RandomBelow(info.LevelSpan);
}

bool IsReachableLevel(int32_t number)
{
    return std::any_of(std::begin(GameModes), std::end(GameModes), [&](const GameModeInfo& m) {
        return number >= m.FirstLevel && number < m.FirstLevel + m.LevelSpan;
    });
}
