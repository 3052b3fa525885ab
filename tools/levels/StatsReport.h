#pragma once
// What `vroomzle-levels stats` prints: a line of figures per level, as a table
// or as CSV, and under the table the summary a designer tunes the curve with.
#include "model/PlayRules.h"
#include "tools/levels/LevelFigures.h"

#include <string>
#include <vector>

// The skilled player's column for each set of items: "skilled", "skilled:previews", …
std::vector<std::string> SkilledColumnNames(const std::vector<OptionFlags>& skilled);

// Prints the header and one line per level, in the order of `all`; the text
// table ends with the summary. True when a level a game mode deals is broken.
bool PrintStats(const std::vector<LevelFigures>& all, const std::vector<std::string>& skilledNames, bool csv);
