#pragma once
// The level file the game ships, read once per test binary.
#include "levels/LevelFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

inline const LevelTable& ShippedLevels()
{
    static const std::unique_ptr<LevelTable> table = [] {
        auto t = std::make_unique<LevelTable>();
        EXPECT_FALSE(LoadLevelFile(std::string(VZ_SOURCE_DIR) + "/data/map/level.ini", *t));
        return t;
    }();
    return *table;
}
