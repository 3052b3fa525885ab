#include "Random.h"

#include <chrono>

namespace {
uint32_t State = 0;
}

int32_t RandomBelow(int32_t n)
{
    State = State * 134775813u + 1u;
    if (n <= 0)
        return 0;
    return static_cast<int32_t>((static_cast<uint64_t>(State) * static_cast<uint32_t>(n)) >> 32);
}

void SeedRandom()
{
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    // The epoch starts at UTC midnight and has no leap seconds, so this is the time of day.
    State = static_cast<uint32_t>(sinceEpoch % (24LL * 60 * 60 * 1000));
}

uint32_t RandomState() { return State; }

void SetRandomState(uint32_t state) { State = state; }
