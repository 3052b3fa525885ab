#include "Generator.h"

#include "core/GameError.h"
#include "core/Random.h"
#include "levels/CheckLevel.h"

#include <string>
#include <vector>

namespace {

constexpr int WorkingListSize = 220;
constexpr int MaxDealRows = 12;
// Each row search looks at the starting row and up to ten after it.
constexpr int RowSearchLength = 11;

int32_t Attempts = 0;
BayGrid<Cell> DealPairs;

int32_t NextRow(int32_t row, int32_t rowCount) { return row >= rowCount ? 1 : row + 1; }

// The level as it is about to be dealt: on the shape the caller passes.
void RefuseBrokenLevel(const LevelRecord& record, int32_t currentLevel, int32_t shapeId)
{
    LevelRecord dealt = record;
    dealt.ShapeId = shapeId;
    const std::vector<std::string> problems = CheckLevel(dealt);
    if (!problems.empty())
        throw GameError("Level " + std::to_string(currentLevel) + " cannot be dealt: " + problems.front());
}

struct DealPlan {
    const LevelRecord* Level;
    BoardShape Shape;
    int32_t PairCount;
};

// Stores pool entry `pair` at the next listed position of relative row `row`.
void PlaceCar(Board& board, const DealPlan& plan, const CarPool& pool, int32_t* nextPosition, int32_t row,
              int32_t pair)
{
    const PositionCode code = plan.Level->Positions[nextPosition[row] - 1];
    const int32_t column = CodeColumn(code), boardRow = plan.Shape.MinRow + row - 1, slot = CodeSlot(code);
    board.Cells(column, boardRow).Slot[slot] = pool(pair);
    DealPairs(column, boardRow).Slot[slot] = pair;
    if (++nextPosition[row] > plan.Level->PositionCount)
        nextPosition[row] = 0;
}

// One attempt. Pairs go row by row in list order; true when the final pair
// landed on two bays that are free from the start.
bool DealAttempt(Board& board, const DealPlan& plan, const CarPool& pool)
{
    board.Cells.Fill(Cell{});
    DealPairs.Fill(Cell{});
    const int32_t rowCount = plan.Shape.RowCount;
    int32_t nextPosition[MaxDealRows + 1];
    for (int32_t& next : nextPosition)
        next = 1;
    int32_t pair = 0, dealRow = 0;
    bool stuck = false;

    while (!stuck && pair < plan.PairCount - 1) {
        dealRow = NextRow(dealRow, rowCount);
        const int32_t partnerDraw = RandomBelow(3999);
        int32_t partnerRow = partnerDraw % rowCount + 1;

        bool found = false;
        for (int n = 0; n < RowSearchLength; ++n) {
            if (nextPosition[dealRow] != 0) {
                found = true;
                break;
            }
            if (n + 1 < RowSearchLength)
                dealRow = NextRow(dealRow, rowCount);
        }
        if (!found)
            stuck = true;

        found = false;
        for (int n = 0; n < RowSearchLength; ++n) {
            if (nextPosition[partnerRow] != 0 && partnerRow != dealRow) {
                found = true;
                break;
            }
            if (n + 1 < RowSearchLength)
                partnerRow = NextRow(partnerRow, rowCount);
        }
        if (!found)
            stuck = true;
        if (stuck)
            break;

        ++pair;
        PlaceCar(board, plan, pool, nextPosition, dealRow, pair);
        PlaceCar(board, plan, pool, nextPosition, partnerRow, pair);
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
        const int32_t boardRow = plan.Shape.MinRow + row - 1;
        board.Cells(CodeColumn(code), boardRow).Slot[CodeSlot(code)] = pool(pair);
        DealPairs(CodeColumn(code), boardRow).Slot[CodeSlot(code)] = pair;
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

bool InitMap(Board& board, BoardView& view, CarPool& pool, const LevelTable& table, int32_t currentLevel,
             int32_t shapeId)
{
    // Everything that can refuse comes first, so a refused level leaves the old board playable.
    const LevelRecord& level = table.Level(currentLevel);
    RefuseBrokenLevel(level, currentLevel, shapeId);
    const BoardShape shape = ShapeById(shapeId);

    board.InputEnabled = false;
    board.CurrentShape = shape;
    const int32_t poolType = level.PoolTypeId;
    const int32_t positionCount = level.PositionCount;
    ChooseCars(poolType, pool);
    board.CarsLeft = shape.RowCount * positionCount;
    const DealPlan plan{&level, shape, board.CarsLeft / 2};

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
            view.ShowHiddenCount(CodeColumn(code), row);
        }
    }
    view.EndUpdate();
    view.Changed();

    Attempts = 0;
    do
        ++Attempts;
    while (!DealAttempt(board, plan, pool));

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

int32_t LastDealAttempts() { return Attempts; }

const BayGrid<Cell>& LastDealPairs() { return DealPairs; }
