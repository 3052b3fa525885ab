#include "model/FakeViews.h"
#include "model/Invariants.h"
#include "levels/Tables.h"
#include "model/PlayRules.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

// A board laid by hand on shape 4 (columns 4 … 9, rows 10 … 19) and put in
// play; the rules' calls reach both the recorder V and the screen.
struct HandLaidBoard : ::testing::Test {
    Board B;
    Recorder V;
    ScreenFake Screen{B};
    BothViews View{V, Screen};
    int RepaintsOfClick = 0; // of the latest Click

    HandLaidBoard()
    {
        B.CurrentShape = ShapeById(4);
        LayOutBays(B, V);
        V.Calls.clear();
    }
    // Slot 0 first; hidden cars follow in the order they come out.
    void Put(int c, int r, std::initializer_list<CarId> slots)
    {
        Cell cell;
        int s = 0, hidden = 0;
        for (CarId car : slots) {
            cell.Slot[s] = car;
            hidden += s > 0 && car != 0;
            ++s;
        }
        B.Cells(c, r) = cell;
        B.HiddenCount(c, r) = hidden;
    }
    // The board as a deal leaves it: in play, on screen, its snapshot taken.
    void Start()
    {
        B.CarsLeft = CountCars(B);
        B.InputEnabled = true;
        TakeSnapshot(B);
        Screen.ShowBoard();
    }
    ClickOutcome Click(int c, int r)
    {
        V.Calls.clear();
        const int repaints = Screen.Repaints;
        const ClickOutcome outcome = ClickBay(B, View, {c, r}).Outcome;
        RepaintsOfClick = Screen.Repaints - repaints;
        EXPECT_EQ(BrokenInvariant(B), "");
        return outcome;
    }
    CarId Top(int c, int r) const { return B.Cells(c, r).Slot[0]; }
};

OptionFlags All()
{
    OptionFlags o;
    o.Undo = o.PreviewEmpty = o.AutoPreviewEmpty = o.PreviewOccupied = o.AutoPreviewOccupied = true;
    return o;
}

} // namespace

TEST_F(HandLaidBoard, SameIdInOneRowPairsOnlyThroughAnotherRow)
{
    Put(5, 12, {7});
    Put(6, 12, {7});
    Put(4, 13, {7});
    Put(9, 14, {7});
    Start();

    EXPECT_EQ(Click(5, 12), ClickOutcome::Selected);
    EXPECT_EQ(V.Calls, (Calls{"begin", "select 5,12", "end", "changed"}));
    EXPECT_EQ(Click(6, 12), ClickOutcome::Nothing) << "blocked by the same id before it";
    EXPECT_EQ(V.Calls, (Calls{"begin", "end", "changed"})) << "the selection and its marker stay";
    EXPECT_TRUE(B.CarSelected);

    EXPECT_EQ(Click(4, 13), ClickOutcome::PairRemoved);
    // On screen, at one repaint: both cars gone, no selection, the hover marker
    // on the second bay, 2 cars left.
    EXPECT_EQ(RepaintsOfClick, 1);
    EXPECT_FALSE(Screen.CarOf(5, 12).Shown);
    EXPECT_FALSE(Screen.CarOf(4, 13).Shown);
    EXPECT_FALSE(Screen.SelectionShown);
    EXPECT_EQ(Screen.Hover, (BayPos{4, 13}));
    EXPECT_EQ(Screen.Label, 2);
    EXPECT_EQ(Screen.Mismatch(), "");
    EXPECT_EQ(Top(5, 12), 0);
    EXPECT_TRUE(IsFree(B, 6, 12));

    EXPECT_EQ(Click(6, 12), ClickOutcome::Selected);
    V.Calls.clear();
    const ClickReport last = ClickBay(B, View, {9, 14});
    EXPECT_EQ(last.Outcome, ClickOutcome::PairRemoved);
    EXPECT_TRUE(last.Won);
    EXPECT_FALSE(B.InputEnabled) << "cleared before the win is handed on";
    EXPECT_EQ(V.Starting("left"), Calls{"left 0"}) << "the label shows 0 cars left before the win";
}

TEST_F(HandLaidBoard, SecondClicksThatDoNotMatch)
{
    Put(4, 10, {3});
    Put(4, 11, {5});
    Put(4, 12, {3});
    Put(4, 13, {5});
    Start();

    // A double click selects and deselects again.
    EXPECT_EQ(Click(4, 10), ClickOutcome::Selected);
    EXPECT_EQ(Click(4, 10), ClickOutcome::Deselected);
    EXPECT_EQ(RepaintsOfClick, 1);
    EXPECT_FALSE(Screen.SelectionShown);
    EXPECT_EQ(Screen.Hover, (BayPos{4, 10}));
    EXPECT_TRUE(Screen.CarOf(4, 10).Shown);
    EXPECT_EQ(Screen.Mismatch(), "");
    EXPECT_EQ(B.CarsLeft, 4);

    // Another id deselects without selecting; the third click selects it.
    EXPECT_EQ(Click(4, 10), ClickOutcome::Selected);
    EXPECT_EQ(Click(4, 11), ClickOutcome::Deselected);
    EXPECT_FALSE(B.CarSelected);
    EXPECT_EQ(Click(4, 11), ClickOutcome::Selected);
    EXPECT_EQ(B.SelectedBay, (BayPos{4, 11}));

    // A click on an exhausted bay only deselects.
    EXPECT_EQ(Click(8, 15), ClickOutcome::Deselected);
    EXPECT_EQ(V.Calls, (Calls{"begin", "unselect", "end", "changed"}));
    EXPECT_EQ(Click(8, 15), ClickOutcome::Nothing);
    EXPECT_EQ(V.Calls, (Calls{"begin", "end", "changed"}));
    EXPECT_EQ(B.CarsLeft, 4);
}

TEST_F(HandLaidBoard, RevealIgnoresFreedomAndBlocksTheRowAgain)
{
    Put(4, 12, {0});
    Put(5, 12, {0, 9, 8});
    Put(6, 12, {3});
    Put(4, 15, {3});
    Put(4, 16, {9});
    Put(7, 17, {1}); // a blocker in front of a buried bay
    Put(8, 17, {0, 8});
    Start();
    EXPECT_TRUE(IsFree(B, 6, 12));
    EXPECT_EQ(Click(6, 12), ClickOutcome::Selected);

    EXPECT_EQ(Click(5, 12), ClickOutcome::Revealed);
    EXPECT_EQ(RepaintsOfClick, 1);
    EXPECT_FALSE(Screen.SelectionShown) << "a reveal drops the selection";
    EXPECT_EQ(Screen.CarOf(5, 12).Picture, 9);
    EXPECT_TRUE(Screen.CarOf(5, 12).Shown);
    EXPECT_EQ(Screen.GroundOf(5, 12).Picture, 84);
    EXPECT_TRUE(Screen.GroundOf(5, 12).Shown);
    EXPECT_EQ(Screen.Mismatch(), "");
    EXPECT_EQ(B.Cells(5, 12), (Cell{{9, 8, 0, 0, 0, 0}}));
    EXPECT_EQ(B.HiddenCount(5, 12), 1);
    EXPECT_EQ(Click(6, 12), ClickOutcome::Nothing) << "the revealed car blocks column 6 again";

    EXPECT_EQ(Click(8, 17), ClickOutcome::Revealed) << "a reveal does not ask for freedom";
    EXPECT_EQ(Top(8, 17), 8);
    EXPECT_EQ(B.HiddenCount(8, 17), 0);
}

TEST_F(HandLaidBoard, TheLastRevealShowsTheEmptyBayPicture)
{
    Put(6, 14, {0, 21});
    Put(4, 14, {21});
    Start();
    ASSERT_EQ(Screen.Mismatch(), "");
    EXPECT_EQ(Screen.GroundOf(6, 14).Picture, 84);

    EXPECT_EQ(ClickBay(B, View, {6, 14}).Outcome, ClickOutcome::Revealed);
    EXPECT_EQ(Screen.GroundOf(6, 14).Picture, 83);
    EXPECT_TRUE(Screen.GroundOf(6, 14).Shown);
    EXPECT_EQ(B.HiddenCount(6, 14), 0);
    EXPECT_EQ(Screen.Mismatch(), "");

    // Undo puts the car back under the bay and the picture back to 84.
    GameKeyUp(B, View, KeyBackspace, true, All());
    EXPECT_EQ(Screen.GroundOf(6, 14).Picture, 84);
    EXPECT_EQ(B.Cells(6, 14), (Cell{{0, 21, 0, 0, 0, 0}}));
    EXPECT_EQ(Screen.Mismatch(), "");
    EXPECT_EQ(Screen.Repaints, 2) << "one repaint per click and per undo";
}

TEST_F(HandLaidBoard, UndoTakesBackOnlyTheLatestAcceptedClick)
{
    Put(4, 10, {3});
    Put(4, 11, {3});
    Put(4, 12, {5});
    Put(4, 13, {5});
    Start();
    const OptionFlags undo = All();

    Click(4, 10);
    Click(4, 11);
    ASSERT_EQ(B.CarsLeft, 2);
    V.Calls.clear();
    GameKeyUp(B, View, KeyBackspace, true, undo);
    EXPECT_EQ(Top(4, 10), 3);
    EXPECT_EQ(Top(4, 11), 3);
    EXPECT_EQ(B.CarsLeft, 4);
    EXPECT_EQ(V.Starting("left"), Calls{"left 4"});
    EXPECT_FALSE(B.CarSelected);
    V.Calls.clear();
    GameKeyUp(B, View, KeyBackspace, true, undo);
    EXPECT_EQ(B.CarsLeft, 4) << "a second Backspace has nothing left to undo";
    EXPECT_EQ(V.Starting("car"), Calls{});

    // A click off the board changes nothing on screen but replaces the snapshot.
    Click(4, 12);
    Click(4, 13);
    ASSERT_EQ(B.CarsLeft, 2);
    EXPECT_EQ(Click(2, 30), ClickOutcome::OffBoard);
    EXPECT_EQ(V.Calls, Calls{});
    EXPECT_EQ(Click(-40, 0), ClickOutcome::OffBoard);
    GameKeyUp(B, View, KeyBackspace, true, undo);
    EXPECT_EQ(B.CarsLeft, 2) << "the off-board click took the snapshot";

}

TEST_F(HandLaidBoard, UndoAfterARevealAndAfterASelection)
{
    Put(4, 12, {0, 9, 8});
    Put(4, 13, {9});
    Put(4, 14, {8});
    Start();
    const OptionFlags undo = All();

    // A reveal is taken back: the hidden car goes down again, its count and tile return.
    ASSERT_EQ(Click(4, 12), ClickOutcome::Revealed);
    V.Calls.clear();
    GameKeyUp(B, View, KeyBackspace, true, undo);
    EXPECT_EQ(B.Cells(4, 12), (Cell{{0, 9, 8, 0, 0, 0}}));
    EXPECT_EQ(B.HiddenCount(4, 12), 2);
    EXPECT_EQ(B.CarsLeft, 4);
    EXPECT_EQ(V.Starting("hide"), Calls{"hide 4,12"});
    EXPECT_EQ(V.Starting("countpic"), Calls{"countpic 4,12"});
    EXPECT_EQ(BrokenInvariant(B), "");

    // Undo of a selecting click restores cars that did not change: nothing redrawn,
    // and the selection itself is not part of the snapshot.
    ASSERT_EQ(Click(4, 13), ClickOutcome::Selected);
    V.Calls.clear();
    GameKeyUp(B, View, KeyBackspace, true, undo);
    EXPECT_EQ(V.Starting("car"), Calls{});
    EXPECT_EQ(V.Starting("hide"), Calls{});
    EXPECT_TRUE(B.CarSelected);
    EXPECT_EQ(BrokenInvariant(B), "");

    // The pair can still be completed after that undo, and the reveal made again.
    ASSERT_EQ(Click(4, 12), ClickOutcome::Revealed);
    EXPECT_EQ(Click(4, 13), ClickOutcome::Selected);
    EXPECT_EQ(Click(4, 12), ClickOutcome::PairRemoved);
    EXPECT_EQ(B.CarsLeft, 2);
}

TEST_F(HandLaidBoard, GameKeysNeedInputThePageAndTheOption)
{
    Put(4, 10, {3});
    Put(4, 11, {3});
    Put(4, 12, {5});
    Put(4, 13, {5});
    Start();
    Click(4, 10);
    Click(4, 11);
    V.Calls.clear();
    GameKeyUp(B, View, KeyBackspace, false, All());
    GameKeyUp(B, View, KeyBackspace, true, OptionFlags{});
    GameKeyUp(B, View, 'A', true, All());
    B.InputEnabled = false;
    GameKeyUp(B, View, KeyBackspace, true, All());
    EXPECT_EQ(V.Calls, Calls{});
    EXPECT_EQ(B.CarsLeft, 2);
    EXPECT_EQ(ClickBay(B, View, {4, 12}).Outcome, ClickOutcome::Ignored);
    B.InputEnabled = true;
    GameKeyUp(B, View, KeyBackspace, true, All());
    EXPECT_EQ(B.CarsLeft, 4) << "the ignored click took no snapshot, so the undo still brings the pair back";
}

TEST_F(HandLaidBoard, AWonBoardTakesNoMoreInput)
{
    Put(4, 10, {3});
    Put(4, 11, {3});
    Start();
    Click(4, 10);
    ASSERT_TRUE(ClickBay(B, View, {4, 11}).Won);
    ResumeInput(B); // the GAME page button
    V.Calls.clear();
    const ClickReport again = ClickBay(B, View, {4, 10});
    EXPECT_EQ(again.Outcome, ClickOutcome::Ignored);
    EXPECT_FALSE(again.Won) << "one win is paid once";
    GameKeyUp(B, View, KeyBackspace, true, All());
    EXPECT_EQ(B.CarsLeft, 0) << "the last pair cannot be undone and won again";
    EXPECT_EQ(V.Calls, Calls{});
}

TEST_F(HandLaidBoard, PointerMovesAndPreviews)
{
    Put(4, 10, {0, 11});
    Put(5, 10, {12, 13});
    Put(6, 10, {14});
    Put(7, 10, {0});
    Start();
    OptionFlags emptyOnly;
    emptyOnly.PreviewEmpty = emptyOnly.AutoPreviewEmpty = true;
    OptionFlags occupiedOnly;
    occupiedOnly.PreviewOccupied = occupiedOnly.AutoPreviewOccupied = true;

    V.Calls.clear();
    PointerMoveBay(B, View, {4, 10}, OptionFlags{});
    EXPECT_EQ(V.Calls, (Calls{"begin", "hover 4,10", "end", "changed"}));
    EXPECT_EQ(B.HoverBay, (BayPos{4, 10}));
    EXPECT_TRUE(B.InputEnabled);
    V.Calls.clear();
    const int repaints = Screen.Repaints;
    PointerMoveBay(B, View, {4, 10}, emptyOnly);
    EXPECT_EQ(V.Starting("hover"), Calls{"hover 4,10"}) << "the marker moves again on the same bay";
    EXPECT_EQ(Screen.Repaints, repaints + 1);
    EXPECT_EQ(Screen.Hover, (BayPos{4, 10}));
    EXPECT_EQ(Screen.Preview, 11);
    EXPECT_EQ(Screen.Mismatch(), "") << "the preview box has its own bracket";
    V.Calls.clear();
    PointerMoveBay(B, View, {5, 10}, emptyOnly);
    PointerMoveBay(B, View, {6, 10}, occupiedOnly);
    PointerMoveBay(B, View, {7, 10}, All());
    EXPECT_EQ(V.Starting("preview"), Calls{}) << "wrong kind of top, or nothing hidden";
    PointerMoveBay(B, View, {5, 10}, occupiedOnly);
    EXPECT_EQ(V.Starting("preview"), Calls{"preview 13"});

    // Space uses the last hovered bay; off the board nothing shows.
    V.Calls.clear();
    GameKeyUp(B, View, KeySpace, true, emptyOnly);
    GameKeyUp(B, View, KeySpace, true, All());
    EXPECT_EQ(V.Calls, Calls{"preview 13"});
    V.Calls.clear();
    PointerMoveBay(B, View, {1, 26}, All());
    PointerMoveBay(B, View, {-9, 4000}, All());
    EXPECT_EQ(V.Calls, Calls{}) << "the hover marker stays where it was";
    EXPECT_EQ(B.HoverBay, (BayPos{-9, 4000}));
    GameKeyUp(B, View, KeySpace, true, All());
    EXPECT_EQ(V.Calls, Calls{});
    B.HoverBay = {4, 10};
    GameKeyUp(B, View, KeySpace, true, occupiedOnly);
    GameKeyUp(B, View, KeySpace, false, emptyOnly);
    EXPECT_EQ(V.Calls, Calls{});
    GameKeyUp(B, View, KeySpace, true, emptyOnly);
    EXPECT_EQ(V.Calls, Calls{"preview 11"});

    B.InputEnabled = false;
    V.Calls.clear();
    PointerMoveBay(B, View, {6, 10}, All());
    EXPECT_EQ(V.Calls, Calls{});
    EXPECT_EQ(B.HoverBay, (BayPos{4, 10})) << "an ignored move is not stored";
    EXPECT_FALSE(B.InputEnabled);
}
