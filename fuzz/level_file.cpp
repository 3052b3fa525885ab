// map/level.ini as the game reads it at start-up: the whole text parsed into the
// table, every record checked, and every well-formed level a game mode can deal
// dealt and then cleared by taking its pairs off in the reverse order of dealing.
// A parse error still leaves the records read before it, so those are dealt too.
#include "core/GameError.h"
#include "core/Random.h"
#include "levels/CheckLevel.h"
#include "levels/Generator.h"
#include "levels/LevelFile.h"
#include "model/Board.h"
#include "model/PlayRules.h"
#include "model/SilentView.h"

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
// in two rows and comes free once the pairs dealt after it are gone.
std::string ClearByDealOrder(Board& b, const CarPool& pool, SilentView& view)
{
    BayGrid<Cell> pairs = LastDealPairs();
    const int pairCount = b.CarsLeft / 2;
    std::vector<std::vector<BayPos>> where(static_cast<size_t>(pairCount) + 1);
    const BoardShape& s = b.CurrentShape;
    for (int32_t r = s.MinRow; r <= s.MaxRow; ++r)
        for (int32_t c = s.MinColumn; c <= s.MaxColumn; ++c)
            for (int slot = 0; slot < SlotCount; ++slot) {
                const int p = pairs(c, r).Slot[slot];
                if (p < 0 || p > pairCount)
                    return "pair number " + std::to_string(p) + " out of range";
                if (p == 0)
                    continue;
                if (b.Cells(c, r).Slot[slot] != pool(p))
                    return "pair " + std::to_string(p) + " does not carry its pool entry";
                where[static_cast<size_t>(p)].push_back({c, r});
            }
    for (int p = 1; p <= pairCount; ++p) {
        const auto& bays = where[static_cast<size_t>(p)];
        if (bays.size() != 2 || bays[0].Row == bays[1].Row)
            return "pair " + std::to_string(p) + " is not two cars in two rows";
    }
    for (int p = pairCount; p >= 1; --p) {
        const auto& bays = where[static_cast<size_t>(p)];
        for (const BayPos& bay : bays) {
            while (b.Cells(bay.Column, bay.Row).Slot[0] == 0) {
                if (ClickBay(b, view, bay).Outcome != ClickOutcome::Revealed)
                    return "a reveal for pair " + std::to_string(p) + " failed";
                Cell& mirror = pairs(bay.Column, bay.Row);
                for (int slot = 0; slot < SlotCount - 1; ++slot)
                    mirror.Slot[slot] = mirror.Slot[slot + 1];
                mirror.Slot[SlotCount - 1] = 0;
            }
            if (pairs(bay.Column, bay.Row).Slot[0] != p)
                return "pair " + std::to_string(p) + " is still covered when its turn comes";
        }
        if (ClickBay(b, view, bays[0]).Outcome != ClickOutcome::Selected)
            return "the first car of pair " + std::to_string(p) + " is not free";
        const ClickReport second = ClickBay(b, view, bays[1]);
        if (second.Outcome != ClickOutcome::PairRemoved)
            return "the second car of pair " + std::to_string(p) + " did not match";
        if (second.Won != (p == 1))
            return p == 1 ? "the last pair did not win" : "a win before the board was empty";
    }
    if (b.CarsLeft != 0 || b.InputEnabled)
        return "the board was not won";
    return {};
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
    auto table = std::make_unique<LevelTable>();
    try {
        ParseLevelText(std::string(reinterpret_cast<const char*>(data), size), *table);
    } catch (const GameError&) {
        // The game stops at start-up here; the records before the bad token stay filled.
    }

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
            try {
                InitMap(*board, view, pool, *table, n, level.ShapeId);
            } catch (const GameError&) {
                continue;
            }
            Fail(n, "a level that breaks a condition was dealt");
        }
        InitMap(*board, view, pool, *table, n, level.ShapeId);
        if (board->CarsLeft != ShapeById(level.ShapeId).RowCount * level.PositionCount)
            Fail(n, "dealt " + std::to_string(board->CarsLeft) + " cars");
        const std::string broken = BrokenInvariant(*board);
        if (!broken.empty())
            Fail(n, "after the deal: " + broken);
        const std::string stuck = ClearByDealOrder(*board, pool, view);
        if (!stuck.empty())
            Fail(n, "cannot be cleared: " + stuck);
    }
    return 0;
}
