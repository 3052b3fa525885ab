#include "model/Invariants.h"
#include "model/FakeViews.h"
#include "levels/Tables.h"
#include "model/BoardView.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

Board BoardOf(int shapeId)
{
    Board b;
    b.CurrentShape = ShapeById(shapeId);
    return b;
}

} // namespace

TEST(Board, InsideShapeChecksAllFourBoundsInclusively)
{
    const Board b = BoardOf(9); // columns 5 … 10, rows 7 … 18
    EXPECT_TRUE(InsideShape(b, 5, 7));
    EXPECT_TRUE(InsideShape(b, 10, 18));
    EXPECT_FALSE(InsideShape(b, 4, 7));
    EXPECT_FALSE(InsideShape(b, 11, 7));
    EXPECT_FALSE(InsideShape(b, 5, 6));
    EXPECT_FALSE(InsideShape(b, 5, 19));
    EXPECT_FALSE(InsideShape(b, 0, 0)) << "the hover bay before any move";
    EXPECT_FALSE(InsideShape(b, -100, 1000));
}

TEST(Board, FreedomIsTheFirstTopCarOfARow)
{
    Board b = BoardOf(4); // columns 4 … 9
    const int row = 12;
    b.Cells(5, row).Slot[0] = 7;
    b.Cells(6, row).Slot[0] = 7;
    b.Cells(4, row).Slot[1] = 9; // hidden cars never block
    EXPECT_TRUE(IsFree(b, 5, row));
    EXPECT_FALSE(IsFree(b, 6, row)) << "same id behind the free car is still blocked";
    EXPECT_TRUE(IsFree(b, 5, row + 1)) << "other rows never block";
    b.Cells(4, row).Slot[0] = 3;
    EXPECT_TRUE(IsFree(b, 4, row)) << "the first column is always free";
    EXPECT_FALSE(IsFree(b, 5, row));
}

TEST(Board, RevealMovesTheStackUpByOne)
{
    Board b = BoardOf(4);
    Cell& cell = b.Cells(6, 15);
    cell = Cell{{0, 11, 12, 13, 14, 15}};
    b.HiddenCount(6, 15) = 5;
    RevealNext(b, 6, 15);
    EXPECT_EQ(cell, (Cell{{11, 12, 13, 14, 15, 0}}));
    EXPECT_EQ(b.HiddenCount(6, 15), 4);
    cell = Cell{{0, 21, 0, 0, 0, 0}};
    b.HiddenCount(6, 15) = 1;
    RevealNext(b, 6, 15);
    EXPECT_EQ(cell, (Cell{{21, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(b.HiddenCount(6, 15), 0);
}

TEST(Board, GridAccessorCoversEveryPositionOnce)
{
    Board b;
    int n = 0;
    for (int c = GridMinColumn; c <= GridMaxColumn; ++c)
        for (int r = GridMinRow; r <= GridMaxRow; ++r)
            b.HiddenCount(c, r) = ++n;
    n = 0;
    for (int c = GridMinColumn; c <= GridMaxColumn; ++c)
        for (int r = GridMinRow; r <= GridMaxRow; ++r)
            ASSERT_EQ(b.HiddenCount(c, r), ++n);
    EXPECT_EQ(n, 112);
}

TEST(Board, LayOutBaysNumbersRowByRowAndClearsTheRest)
{
    Board b = BoardOf(6);
    b.CurrentShape = ShapeById(8); // columns 4 … 8, rows 9 … 20
    Recorder v;
    ScreenFake screen(b);
    BothViews both(v, screen);
    screen.BeginUpdate();
    LayOutBays(b, both);
    screen.EndUpdate();
    const BoardShape& s = b.CurrentShape;
    EXPECT_EQ(BayOrdinal(s, 4, 9), 1);
    EXPECT_EQ(BayOrdinal(s, 8, 9), 5);
    EXPECT_EQ(BayOrdinal(s, 4, 10), 6);
    EXPECT_EQ(BayOrdinal(s, 8, 20), 60);
    EXPECT_EQ(BayOrdinal(s, 4, 19), (19 - 9) * 5 + 1);
    EXPECT_EQ(BayOrdinal(s, 3, 11), 0);
    EXPECT_EQ(BayOrdinal(s, 9, 9), 0);
    // One call per bay, and the view gives each bay its ordinal's layers.
    ASSERT_EQ(v.Calls.size(), 60u);
    EXPECT_EQ(screen.Fault, "");
    int placed = 0;
    for (int32_t r = GridMinRow; r <= GridMaxRow; ++r)
        for (int32_t c = GridMinColumn; c <= GridMaxColumn; ++c) {
            placed += screen.Ordinals(c, r) != 0;
            EXPECT_EQ(screen.Ordinals(c, r), BayOrdinal(s, c, r)) << c << "," << r;
        }
    EXPECT_EQ(placed, 60);
    EXPECT_EQ(screen.Ordinals(4, 9), 1);
    EXPECT_EQ(screen.Ordinals(8, 20), 60);
}

TEST(Board, SnapshotRoundTripRedrawsOnlyWhatChanged)
{
    Board b = BoardOf(4);
    b.Cells(4, 10) = Cell{{5, 0, 0, 0, 0, 0}};
    b.Cells(7, 12) = Cell{{5, 0, 0, 0, 0, 0}};
    b.Cells(4, 11) = Cell{{0, 8, 8, 0, 0, 0}};
    b.HiddenCount(4, 11) = 2;
    b.CarsLeft = 4;
    TakeSnapshot(b);
    const Board before = b;

    // A pair removed and a bay revealed.
    b.Cells(4, 10).Slot[0] = 0;
    b.Cells(7, 12).Slot[0] = 0;
    b.CarsLeft = 2;
    RevealNext(b, 4, 11);
    b.CarSelected = true;
    b.SelectedBay = {4, 11};
    ScreenFake screen(b);
    screen.ShowBoard();

    Recorder v;
    BothViews both(v, screen);
    RestoreSnapshot(b, both);
    EXPECT_TRUE(b.Cells == before.Cells);
    EXPECT_TRUE(b.HiddenCount == before.HiddenCount);
    EXPECT_EQ(b.CarsLeft, 4);
    EXPECT_EQ(CountCars(b), 4);
    EXPECT_TRUE(b.CarSelected) << "undo leaves the selection alone";
    EXPECT_TRUE(b.InputEnabled);
    // On screen, at one repaint: both cars back, the revealed one under its bay
    // again with its count, the label at 4, the selection marker where it was.
    EXPECT_EQ(screen.Repaints, 1);
    EXPECT_EQ(screen.CarOf(4, 10).Picture, 5);
    EXPECT_TRUE(screen.CarOf(4, 10).Shown);
    EXPECT_EQ(screen.CarOf(7, 12).Picture, 5);
    EXPECT_TRUE(screen.CarOf(7, 12).Shown);
    EXPECT_FALSE(screen.CarOf(4, 11).Shown);
    EXPECT_EQ(screen.GroundOf(4, 11).Picture, 85);
    EXPECT_EQ(screen.Label, 4);
    EXPECT_TRUE(screen.SelectionShown);
    EXPECT_EQ(screen.Mismatch(), "");
    // Only the bays that differ are redrawn, in whatever order.
    std::vector<std::string> drawn = v.Calls;
    std::vector<std::string> want = {"begin", "car 4,10 5", "countpic 4,11", "hide 4,11", "car 7,12 5",
                                     "left 4", "end",        "changed"};
    std::sort(drawn.begin(), drawn.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(drawn, want);

    // A second undo finds nothing that differs.
    v.Calls.clear();
    RestoreSnapshot(b, v);
    EXPECT_EQ(v.Calls, (std::vector<std::string>{"begin", "left 4", "end", "changed"}));
}
