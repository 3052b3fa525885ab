#pragma once
// The options of `vroomzle-levels stats`, and the help that explains them.
#include "levels/LevelFile.h"
#include "model/PlayRules.h"

#include <cstdint>
#include <vector>

// What `stats --help` prints: the options, the columns and the players.
extern const char* const StatsHelp;

struct StatsOptions {
    const char* Path = nullptr;
    int32_t Deals = 200;
    uint32_t Seed = 0;
    int32_t FirstLevel = 1;
    int32_t LastLevel = LevelCount;
    int Threads = 2;
    bool Csv = false;
    // One set of items per --items, in the order given; none given means no item.
    std::vector<OptionFlags> Skilled;
};

enum class StatsRequest {
    Measure,
    Help,    // --help or -h: print StatsHelp
    Refused, // bad arguments, already reported on stderr
};

// Reads the arguments that follow "stats".
StatsRequest ParseStatsOptions(int argc, char** argv, StatsOptions& options);
