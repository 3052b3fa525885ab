#pragma once
#include "levels/LevelFile.h"

#include <string>
#include <vector>

// The conditions a level must meet to deal a board that can always be cleared.
// Returns one sentence per broken condition; empty for a well-formed level.
std::vector<std::string> CheckLevel(const LevelRecord& level);
