#pragma once
// Level records written inline in tests: Level(shape, pool type, {codes in list order}).
#include "levels/LevelFile.h"

#include <initializer_list>

inline LevelRecord Level(int shape, int poolType, std::initializer_list<PositionCode> positions)
{
    LevelRecord r;
    r.ShapeId = shape;
    r.PoolTypeId = poolType;
    for (PositionCode p : positions)
        r.Positions[r.PositionCount++] = p;
    return r;
}
