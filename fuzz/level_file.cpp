// map/level.ini as the game reads it at start-up: the whole text parsed into the
// table, every record checked, and every well-formed level a game mode can deal
// dealt and then cleared by taking its pairs off in the reverse order of dealing.
// A parse error still leaves the records read before it, so those are dealt too.
#include "core/GameError.h"
#include "core/Random.h"
#include "levels/CheckLevel.h"
#include "deal/Generator.h"
#include "levels/GameModes.h"
#include "levels/LevelFile.h"
#include "model/Board.h"
#include "model/PlayRules.h"
#include "model/SilentView.h"

#include "deal/DealOrder.h"
#include "model/Invariants.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Fail(int level, const std::string& what)
{
    std::fprintf(stderr, "level %d: %s\n", level, what.c_str());
    std::abort();
}

// A well-formed level deals a board that can always be cleared: every pair sits
// in two rows, carries its pool entry, and comes free once the pairs dealt after
// it are gone.
std::string ClearByDealOrder(Board& b, const CarPool& pool, SilentView& view, const DealTrace& trace)
{
    const BayGrid<Cell>& pairs = trace.Pairs;
    const std::string foreign = PairsCarryTheirPool(b, pairs, pool);
    if (!foreign.empty())
        return foreign;
    return ClearInDealOrder(b, pairs, [&](BayPos bay) { return ClickBay(b, view, bay); });
}

uint32_t Hash(const uint8_t* data, size_t size)
{
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        h = (h ^ data[i]) * 16777619u;
    return h;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const auto board = std::make_unique<Board>();
    static const auto trace = std::make_unique<DealTrace>();
    auto table = std::make_unique<LevelTable>();
    // A bad token stops the game at start-up; the records before it stay filled.
    static_cast<void>(ParseLevelText(std::string(reinterpret_cast<const char*>(data), size), *table));

    // Deals differ from input to input but repeat for the same bytes.
    const uint32_t seed = Hash(data, size);
    SilentView view;
    CarPool pool;
    for (int32_t n = 1; n <= LevelCount; ++n) {
        const LevelRecord& level = table->Level(n);
        const bool wellFormed = CheckLevel(level).empty();
        if (!IsReachableLevel(n))
            continue;
        SetRandomState(seed + static_cast<uint32_t>(n));
        if (!wellFormed) {
            // Refused before anything changes, never dealt half.
            if (!InitMap(*board, view, pool, *table, n, level.ShapeId, trace.get()) && trace->Refusal)
                continue;
            Fail(n, "a level that breaks a condition was dealt");
        }
        if (!InitMap(*board, view, pool, *table, n, level.ShapeId, trace.get()))
            Fail(n, "a well-formed level was refused");
        if (board->CarsLeft != ShapeById(level.ShapeId).RowCount * level.PositionCount)
            Fail(n, "dealt " + std::to_string(board->CarsLeft) + " cars");
        const std::string broken = BrokenInvariant(*board);
        if (!broken.empty())
            Fail(n, "after the deal: " + broken);
        const std::string stuck = ClearByDealOrder(*board, pool, view, *trace);
        if (!stuck.empty())
            Fail(n, "cannot be cleared: " + stuck);
    }
    return 0;
}
