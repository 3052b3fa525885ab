#include "Generator.h"

#include "core/Random.h"
#include "levels/CheckLevel.h"

#include <string>
#include <vector>

namespace {

constexpr int WorkingListSize = 220;
// Each row search looks at the starting row and up to ten after it.
constexpr int RowSearchLength = 11;

int32_t NextRow(int32_t row, int32_t rowCount) { return row >= rowCount ? 1 : row + 1; }

// Looks at `row` and up to ten rows after it, with the wrap, for one with
// positions left that is not `other`; `row` stops at the first found. False when
// none of the eleven qualifies.
bool FindRow(int32_t& row, int32_t rowCount, const int32_t* nextPosition, int32_t other)
{
    for (int n = 0; n < RowSearchLength; ++n) {
        if (nextPosition[row] != 0 && row != other)
            return true;
        if (n + 1 < RowSearchLength)
            row = NextRow(row, rowCount);
    }
    return false;
}

struct DealPlan {
    const LevelRecord* Level;
    BoardShape Shape;
    int32_t PairCount;
    DealTrace* Trace;
};

// Stores pool entry `pair` at position `code` of relative row `row`.
// Traced: the deal also notes each car's pair number; the game's own deals do not.
template <bool Traced>
void StoreCar(Board& board, const DealPlan& plan, const CarPool& pool, PositionCode code, int32_t row, int32_t pair)
{
    const int32_t column = CodeColumn(code), boardRow = plan.Shape.MinRow + row - 1, slot = CodeSlot(code);
    board.Cells(column, boardRow).Slot[slot] = pool(pair);
    if constexpr (Traced)
        plan.Trace->Pairs(column, boardRow).Slot[slot] = pair;
}

// Stores pool entry `pair` at the next listed position of relative row `row`.
template <bool Traced>
void PlaceCar(Board& board, const DealPlan& plan, const CarPool& pool, int32_t* nextPosition, int32_t row,
              int32_t pair)
{
    StoreCar<Traced>(board, plan, pool, plan.Level->Positions[nextPosition[row] - 1], row, pair);
    if (++nextPosition[row] > plan.Level->PositionCount)
        nextPosition[row] = 0;
}

// One attempt. Pairs go row by row in list order; true when the final pair
// landed on two bays that are free from the start.
template <bool Traced>
bool DealAttempt(Board& board, const DealPlan& plan, const CarPool& pool)
{
    board.Cells.Fill(Cell{});
    if constexpr (Traced)
        plan.Trace->Pairs.Fill(Cell{});
    const int32_t rowCount = plan.Shape.RowCount;
    int32_t nextPosition[MaxRows + 1];
    for (int32_t& next : nextPosition)
        next = 1;
    int32_t pair = 0, dealRow = 0;
    bool stuck = false;

    while (!stuck && pair < plan.PairCount - 1) {
        dealRow = NextRow(dealRow, rowCount);
        const int32_t partnerDraw = RandomBelow(3999);
        int32_t partnerRow = partnerDraw % rowCount + 1;

        // The second search runs whether or not the first found a row.
        const bool dealFound = FindRow(dealRow, rowCount, nextPosition, 0);
        const bool partnerFound = FindRow(partnerRow, rowCount, nextPosition, dealRow);
        stuck = !dealFound || !partnerFound;
        if (stuck)
            break;

        ++pair;
        PlaceCar<Traced>(board, plan, pool, nextPosition, dealRow, pair);
        PlaceCar<Traced>(board, plan, pool, nextPosition, partnerRow, pair);
    }
    if (stuck)
        return false;

    // The final pair takes every position still open, and must sit on top in MinColumn.
    ++pair;
    bool redo = false;
    for (int32_t row = 1; row <= rowCount; ++row) {
        if (nextPosition[row] <= 0)
            continue;
        const PositionCode code = plan.Level->Positions[nextPosition[row] - 1];
        if (CodeColumn(code) != plan.Shape.MinColumn || CodeSlot(code) > 0)
            redo = true;
        StoreCar<Traced>(board, plan, pool, code, row, pair);
    }
    return !redo;
}

} // namespace

bool ChooseCars(int32_t poolType, CarPool& pool)
{
    const PoolRecipe recipe = RecipeByPoolType(poolType);
    CarId list[WorkingListSize + 1] = {};
    int n = 0;
    for (int32_t repeat = 0; repeat < recipe.Repeats; ++repeat)
        for (int32_t f = 0; f < recipe.FamilyCount; ++f) {
            const CarFamily family = FamilyById(recipe.Families[f]);
            for (int32_t k = 0; k < family.Length && n < WorkingListSize; ++k)
                list[++n] = family.Cars[k];
        }

    for (int swap = 0; swap < 50; ++swap) {
        const int32_t i = RandomBelow(3000) % CarPoolSize + 1;
        const int32_t j = RandomBelow(7000) % CarPoolSize + 1;
        if (i != j) {
            const CarId t = list[i];
            list[i] = list[j];
            list[j] = t;
        }
    }
    for (int32_t p = 1; p <= CarPoolSize; ++p)
        pool(p) = list[p];
    return true;
}

GameError DealRefusal(const LevelTable& table, int32_t currentLevel, int32_t shapeId)
{
    if (!IsLevelNumber(currentLevel))
        return GameError("Level " + std::to_string(currentLevel) + " does not exist");
    // The level as it is about to be dealt: on the shape the caller passes.
    LevelRecord dealt = table.Level(currentLevel);
    dealt.ShapeId = shapeId;
    const std::vector<std::string> problems = CheckLevel(dealt);
    if (!problems.empty())
        return GameError("Level " + std::to_string(currentLevel) + " cannot be dealt: " + problems.front());
    return {};
}

bool InitMap(Board& board, BoardView& view, CarPool& pool, const LevelTable& table, int32_t currentLevel,
             int32_t shapeId, DealTrace* trace)
{
    // The refusal comes first, so a refused level leaves the old board playable.
    const GameError refusal = DealRefusal(table, currentLevel, shapeId);
    if (trace)
        trace->Refusal = refusal;
    if (refusal)
        return false;
    const LevelRecord& level = table.Level(currentLevel);
    const BoardShape shape = ShapeById(shapeId);

    board.InputEnabled = false;
    board.CurrentShape = shape;
    const int32_t poolType = level.PoolTypeId;
    const int32_t positionCount = level.PositionCount;
    ChooseCars(poolType, pool);
    board.CarsLeft = shape.RowCount * positionCount;
    const DealPlan plan{&level, shape, board.CarsLeft / 2, trace};

    view.BeginUpdate();
    view.ResetBoardScene(shapeId);
    LayOutBays(board, view);
    board.HiddenCount.Fill(0);
    for (int32_t i = 0; i < positionCount; ++i) {
        const PositionCode code = level.Positions[i];
        if (code <= 100)
            continue;
        for (int32_t row = shape.MinRow; row <= shape.MaxRow; ++row) {
            board.HiddenCount(CodeColumn(code), row) += 1;
            view.ShowHiddenCount(CodeColumn(code), row, board.HiddenCount(CodeColumn(code), row));
        }
    }
    view.EndUpdate();
    view.Changed();

    int32_t attempts = 0;
    do
        ++attempts;
    while (!(trace ? DealAttempt<true>(board, plan, pool) : DealAttempt<false>(board, plan, pool)));
    if (trace)
        trace->Attempts = attempts;

    view.BeginUpdate();
    for (int32_t row = shape.MinRow; row <= shape.MaxRow; ++row)
        for (int32_t column = shape.MinColumn; column <= shape.MaxColumn; ++column)
            view.ShowCar(column, row, board.Cells(column, row).Slot[0]);
    view.ResetHoverMarker();
    board.CarSelected = false;
    view.EndUpdate();
    view.Changed();

    view.ShowCarsLeft(board.CarsLeft);
    TakeSnapshot(board);
    board.InputEnabled = true;
    return true;
}
