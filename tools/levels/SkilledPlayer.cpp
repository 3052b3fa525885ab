#include "tools/levels/SkilledPlayer.h"

#include "tools/levels/ImaginedDeals.h"
#include "tools/levels/MoveChoice.h"
#include "tools/levels/SkilledMemory.h"
#include "tools/levels/SolverPlan.h"

namespace {

// Whether the items show the car beneath an emptied bay: a PREVIEW of an empty
// bay, or the undo after a reveal.
bool SeesUnderEmptied(const OptionFlags& o) { return o.PreviewEmpty || o.AutoPreviewEmpty || o.Undo; }

} // namespace

struct SkilledPlayer::Impl {
    Impl(Board& board, const LevelRecord& level, const SkilledSettings& settings, uint64_t seed)
        : Real(board), Items(settings.Items), Memory(board, level), Imagined(level, board.CarsLeft / 2, seed),
          Plan(settings.Worlds), Choice(settings.Worlds, settings.Choices, SeesUnderEmptied(settings.Items))
    {
    }

    bool Step(GameResult& result)
    {
        if (Real.CarsLeft == 0)
            return false;
        Memory.Look(Real, Items);
        Memory.Known(*Known);
        SkilledMove move;
        if (!Plan.Choose(*Known, Memory.Removed(), Imagined, move) &&
            !Choice.Choose(*Known, Memory.Removed(), Imagined, move))
            return false;
        Make(move, result);
        return true;
    }

private:
    // Plays a move through the game's handlers.
    void Make(const SkilledMove& m, GameResult& result)
    {
        Eyes& view = Memory.View();
        const BoardShape& shape = Real.CurrentShape;
        if (m.Reveal) {
            if (ClickBay(Real, view, SearchPosition(shape, m.A)).Outcome != ClickOutcome::Revealed)
                SkilledPlayerDisagrees("a reveal did not bring a car up");
            Memory.Revealed(m.A);
            ++result.Reveals;
            return;
        }
        if (ClickBay(Real, view, SearchPosition(shape, m.A)).Outcome != ClickOutcome::Selected ||
            ClickBay(Real, view, SearchPosition(shape, m.B)).Outcome != ClickOutcome::PairRemoved)
            SkilledPlayerDisagrees("a pair of free cars was not removed");
        Memory.PairRemoved(m.A, m.B);
        ++result.Pairs;
    }

    Board& Real;
    const OptionFlags Items;
    SkilledMemory Memory;
    ImaginedDeals Imagined;
    SolverPlan Plan;
    MoveChoice Choice;
    std::unique_ptr<SearchBoard> Known = std::make_unique<SearchBoard>();
};

SkilledPlayer::SkilledPlayer(Board& board, const LevelRecord& level, const SkilledSettings& settings, uint64_t seed)
    : P(std::make_unique<Impl>(board, level, settings, seed))
{
}

SkilledPlayer::~SkilledPlayer() = default;

bool SkilledPlayer::Step(GameResult& result) { return P->Step(result); }

GameResult PlayOutSkilled(Board& board, const LevelRecord& level, const SkilledSettings& settings, uint64_t seed)
{
    SkilledPlayer player(board, level, settings, seed);
    GameResult result;
    while (player.Step(result)) {
    }
    result.Won = board.CarsLeft == 0;
    return result;
}
