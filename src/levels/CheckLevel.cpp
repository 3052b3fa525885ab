#include "CheckLevel.h"

#include "model/Board.h"

#include <string>

namespace {

std::string Code(PositionCode c) { return std::to_string(c); }

// Plays one row with the game's own rules: its positions removed in reverse list
// order, each hidden car brought up only when the car to be removed lies beneath
// an emptied top. Returns an empty string when that is a legal sequence of moves.
std::string SimulateRow(const LevelRecord& level, const BoardShape& shape)
{
    // One row of a board; each position's car is named by its list index + 1.
    // Every deal checks its level, so the board is kept rather than zeroed whole.
    thread_local Board board;
    board.CurrentShape = shape;
    const int32_t row = shape.MinRow;
    for (int32_t column = GridMinColumn; column <= GridMaxColumn; ++column) {
        board.Cells(column, row) = Cell{};
        board.HiddenCount(column, row) = 0;
    }
    for (int i = 0; i < level.PositionCount; ++i) {
        const PositionCode code = level.Positions[i];
        board.Cells(CodeColumn(code), row).Slot[CodeSlot(code)] = i + 1;
        board.HiddenCount(CodeColumn(code), row) += CodeSlot(code) > 0;
    }
    auto position = [&](CarId car) { return Code(level.Positions[car - 1]); };

    for (int i = level.PositionCount - 1; i >= 0; --i) {
        const PositionCode code = level.Positions[i];
        const int32_t column = CodeColumn(code);
        const Cell& stack = board.Cells(column, row);
        while (stack.Slot[0] != i + 1) {
            if (stack.Slot[0] != 0)
                return "position " + Code(code) + " is still covered by position " + position(stack.Slot[0]) +
                       " when its turn comes";
            if (stack.Slot[1] == 0)
                return "position " + Code(code) + " cannot be brought to the top";
            RevealNext(board, column, row);
        }
        if (const int32_t blocker = FirstTopCarColumn(board, row, column))
            return "position " + Code(code) + " is blocked by position " + position(board.Cells(blocker, row).Slot[0]) +
                   " in a lower column when its turn comes";
        board.Cells(column, row).Slot[0] = 0;
    }
    return {};
}

} // namespace

std::vector<std::string> CheckLevel(const LevelRecord& level)
{
    std::vector<std::string> problems;
    const bool shapeOk = IsShapeId(level.ShapeId);
    if (!shapeOk)
        problems.push_back("board shape " + std::to_string(level.ShapeId) + " does not exist (use 1 to 10)");
    if (!IsPoolType(level.PoolTypeId))
        problems.push_back("pool type " + std::to_string(level.PoolTypeId) + " does not exist (use 1 to 9)");

    const int32_t count = level.PositionCount;
    if (count < 1 || count > MaxPositions) {
        if (count == 0)
            problems.push_back("the row has no positions (the list must end with a '-' token)");
        else
            problems.push_back("the position count " + std::to_string(count) + " is not between 1 and " +
                               std::to_string(MaxPositions));
        return problems;
    }
    if (!shapeOk)
        return problems;
    const BoardShape shape = ShapeById(level.ShapeId);

    // Condition 3: positions inside the shape, no repeats, slots of a column unbroken from the top.
    bool positionsOk = true;
    bool used[GridMaxColumn + 1][SlotCount] = {};
    for (int i = 0; i < count; ++i) {
        const PositionCode code = level.Positions[i];
        const int32_t column = CodeColumn(code), slot = CodeSlot(code);
        if (code < 0 || slot >= SlotCount || column < shape.MinColumn || column > shape.MaxColumn) {
            problems.push_back("position " + Code(code) + " is outside the board (columns " +
                               std::to_string(shape.MinColumn) + " to " + std::to_string(shape.MaxColumn) +
                               ", slots 0 to 5)");
            positionsOk = false;
            continue;
        }
        if (used[column][slot]) {
            problems.push_back("position " + Code(code) + " is listed twice");
            positionsOk = false;
        }
        used[column][slot] = true;
    }
    if (positionsOk)
        for (int column = shape.MinColumn; column <= shape.MaxColumn; ++column)
            for (int slot = 1; slot < SlotCount; ++slot)
                if (used[column][slot] && !used[column][slot - 1]) {
                    problems.push_back("column " + std::to_string(column) + " has a car in slot " +
                                       std::to_string(slot) + " but none in slot " + std::to_string(slot - 1));
                    positionsOk = false;
                }

    // Condition 4: the deal's final pair goes to the one bay free from the start.
    const PositionCode last = level.Positions[count - 1];
    if (last != shape.MinColumn)
        problems.push_back("the last position is " + Code(last) + " but must be " + std::to_string(shape.MinColumn) +
                           " (the first column of the shape, on top)");

    // Condition 5: whole pairs, and no more pairs than the car pool holds.
    const int32_t cars = shape.RowCount * count;
    if (cars % 2 != 0)
        problems.push_back(std::to_string(shape.RowCount) + " rows of " + std::to_string(count) +
                           " positions make an odd number of cars (" + std::to_string(cars) + ")");
    if (cars > MostCars)
        problems.push_back(std::to_string(cars) + " cars need more than the " + std::to_string(CarPoolSize) +
                           " pairs of the car pool");

    // Condition 6: the reverse of the list is a legal way to empty a row.
    if (positionsOk) {
        const std::string stuck = SimulateRow(level, shape);
        if (!stuck.empty())
            problems.push_back("emptying a row in reverse list order fails: " + stuck);
    }
    return problems;
}
