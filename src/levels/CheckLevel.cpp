#include "CheckLevel.h"

#include <string>

namespace {

std::string Code(PositionCode c) { return std::to_string(c); }

// Plays one row: its positions removed in reverse list order, each hidden car
// brought up only when the car to be removed lies beneath an emptied top.
// Returns an empty string when that is a legal sequence of moves.
std::string SimulateRow(const LevelRecord& level, const BoardShape& shape)
{
    constexpr int NoCar = -1;
    int stacks[11][6];
    for (auto& column : stacks)
        for (int& slot : column)
            slot = NoCar;
    for (int i = 0; i < level.PositionCount; ++i)
        stacks[CodeColumn(level.Positions[i])][CodeSlot(level.Positions[i])] = i;

    for (int i = level.PositionCount - 1; i >= 0; --i) {
        const PositionCode code = level.Positions[i];
        int* stack = stacks[CodeColumn(code)];
        while (stack[0] != i) {
            if (stack[0] != NoCar)
                return "position " + Code(code) + " is still covered by position " + Code(level.Positions[stack[0]]) +
                       " when its turn comes";
            if (stack[1] == NoCar)
                return "position " + Code(code) + " cannot be brought to the top";
            for (int s = 0; s < 5; ++s)
                stack[s] = stack[s + 1];
            stack[5] = NoCar;
        }
        for (int c = shape.MinColumn; c < CodeColumn(code); ++c)
            if (stacks[c][0] != NoCar)
                return "position " + Code(code) + " is blocked by position " + Code(level.Positions[stacks[c][0]]) +
                       " in a lower column when its turn comes";
        stack[0] = NoCar;
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
            problems.push_back("the position count " + std::to_string(count) + " is not between 1 and 41");
        return problems;
    }
    if (!shapeOk)
        return problems;
    const BoardShape shape = ShapeById(level.ShapeId);

    // Condition 3: positions inside the shape, no repeats, slots of a column unbroken from the top.
    bool positionsOk = true;
    bool used[11][6] = {};
    for (int i = 0; i < count; ++i) {
        const PositionCode code = level.Positions[i];
        const int32_t column = CodeColumn(code), slot = CodeSlot(code);
        if (code < 0 || slot > 5 || column < shape.MinColumn || column > shape.MaxColumn) {
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
            for (int slot = 1; slot < 6; ++slot)
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
    if (cars > 328)
        problems.push_back(std::to_string(cars) + " cars need more than the 164 pairs of the car pool");

    // Condition 6: the reverse of the list is a legal way to empty a row.
    if (positionsOk) {
        const std::string stuck = SimulateRow(level, shape);
        if (!stuck.empty())
            problems.push_back("emptying a row in reverse list order fails: " + stuck);
    }
    return problems;
}
