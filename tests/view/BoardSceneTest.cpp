// The play view and the preview box as the game drives them: start-up, deals
// through the real generator, clicks through the real rules, the backgrounds
// the window shows behind a board.
#include "model/Invariants.h"
#include "core/Random.h"
#include "deal/Generator.h"
#include "model/PlayRules.h"
#include "view/BoardScene.h"
#include "view/Projection.h"

#include "view/SceneFixtures.h"
#include "levels/LevelBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t Black = Rgb(0, 0, 0);
constexpr uint32_t Grey = Rgb(193, 193, 193);

// Level 1: shape 9, 72 bays, one hidden car under every bay of columns 5 and 10.
// Level 2: shape 8, 60 bays, cars in columns 4 and 5 only (6 … 8 get CarId 0).
constexpr int32_t Level72 = 1;
constexpr int32_t Level60 = 2;

// The play view and the preview box, drawn by one BoardScene from the synthetic
// catalogue, with a board and a level table to deal into them; repaints counted.
struct PlayViewAndPreviewBox : ::testing::Test {
    Catalogue Pictures = fixture::SyntheticCatalogue();
    std::unique_ptr<Board> TheBoard = std::make_unique<Board>();
    std::unique_ptr<LevelTable> Table = std::make_unique<LevelTable>();
    CarPool Pool;
    LayerScene Play{768, 480, Black};
    LayerScene Preview{74, 48, Grey};
    BoardScene Scene{Play, Preview, Pictures};
    int PlayRepaints = 0;
    int PreviewRepaints = 0;
    std::vector<Rect> PlayChanged; // of the latest repaint

    PlayViewAndPreviewBox()
    {
        Table->Level(Level72) = Level(9, 9, {105, 110, 10, 9, 8, 7, 6, 5});
        Table->Level(Level60) = Level(8, 3, {5, 4});
        Play.SetRepaintCallback([this](const std::vector<Rect>& changed) {
            ++PlayRepaints;
            PlayChanged = changed;
        });
        Preview.SetRepaintCallback([this](const std::vector<Rect>&) { ++PreviewRepaints; });
    }

    void StartUp()
    {
        Scene.CreatePreviewLayer();
        Scene.CreatePlayLayers();
    }

    void Deal(int32_t level, uint32_t seed = 7)
    {
        SetRandomState(seed);
        InitMap(*TheBoard, Scene, Pool, *Table, level, Table->Level(level).ShapeId);
    }

    // The game's two-bracket board set-up with hand-picked counts and top cars.
    void SetUp(int32_t shapeId, const std::function<int32_t(int32_t, int32_t)>& hidden,
               const std::function<CarId(int32_t, int32_t)>& top)
    {
        Board& b = *TheBoard;
        b.CurrentShape = ShapeById(shapeId);
        const BoardShape& s = b.CurrentShape;
        b.Cells.Fill(Cell{});
        b.HiddenCount.Fill(0);
        Scene.BeginUpdate();
        Scene.ResetBoardScene(shapeId);
        LayOutBays(b, Scene);
        for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
            for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column)
                for (int32_t n = hidden(column, row); n > 0; --n) {
                    b.Cells(column, row).Slot[b.HiddenCount(column, row) + 1] = 1 + (column + row + n) % CarCount;
                    b.HiddenCount(column, row) += 1;
                    Scene.ShowHiddenCount(column, row, b.HiddenCount(column, row));
                }
        Scene.EndUpdate();
        Scene.Changed();
        Scene.BeginUpdate();
        for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
            for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column) {
                b.Cells(column, row).Slot[0] = top(column, row);
                Scene.ShowCar(column, row, b.Cells(column, row).Slot[0]);
            }
        Scene.ResetHoverMarker();
        Scene.EndUpdate();
        Scene.Changed();
        b.CarsLeft = CountCars(b);
        b.CarSelected = false;
        b.InputEnabled = true;
    }

    int Ordinal(int32_t column, int32_t row) const { return BayOrdinal(TheBoard->CurrentShape, column, row); }
    const SceneLayer& Ground(int32_t column, int32_t row) const { return Play.Layer(Ordinal(column, row) - 1); }
    const SceneLayer& Car(int32_t column, int32_t row) const { return Play.Layer(Ordinal(column, row) + 73); }

    // The repaint shows the scene exactly as it stands, nothing older.
    void ExpectFrameCurrent() const
    {
        Picture reference;
        Play.ComposeFull(reference);
        EXPECT_EQ(Play.Frame().Pixels, reference.Pixels);
    }

};

std::vector<int> VisibleLayers(const LayerScene& scene, int from, int to)
{
    std::vector<int> visible;
    for (int i = from; i <= to; ++i)
        if (scene.Layer(i).Visible)
            visible.push_back(i);
    return visible;
}

std::vector<int> Range(int from, int to)
{
    std::vector<int> r;
    for (int i = from; i <= to; ++i)
        r.push_back(i);
    return r;
}

} // namespace

TEST_F(PlayViewAndPreviewBox, StartUpCreatesTheLayerPlanWithOneRepaintEach)
{
    StartUp();
    EXPECT_EQ(PreviewRepaints, 1);
    EXPECT_EQ(PlayRepaints, 1);
    ASSERT_EQ(Play.LayerCount(), PlayLayerCount);
    ASSERT_EQ(Preview.LayerCount(), 1);
    EXPECT_EQ(VisibleLayers(Play, 0, 145), std::vector<int>{});
    for (int i = 0; i < 72; ++i) {
        EXPECT_EQ(Play.Layer(i).Image, &Pictures[83]);
        EXPECT_EQ(Play.Layer(i).Location, StartRect);
        EXPECT_EQ(Play.Layer(i + 74).Image, &Pictures[0]);
        EXPECT_EQ(Play.Layer(i + 74).Location, CarStartRect);
    }
    for (int marker : {72, 73}) {
        EXPECT_EQ(Play.Layer(marker).Image, &Pictures[0]);
        EXPECT_EQ(Play.Layer(marker).Location, StartRect);
    }
    // The placeholder hides the preview's grey completely.
    EXPECT_EQ(Preview.Layer(0).Image, &Pictures[PlaceholderPicture]);
    EXPECT_TRUE(Preview.Layer(0).Visible);
    EXPECT_EQ(Preview.Layer(0).Mode, DrawMode::Opaque);
    EXPECT_EQ(Preview.Frame().Pixels, Pictures[PlaceholderPicture].Pixels);

    // Calling it again puts the same layers back rather than adding more.
    Scene.CreatePlayLayers();
    Scene.CreatePreviewLayer();
    EXPECT_EQ(Play.LayerCount(), PlayLayerCount);
    EXPECT_EQ(Preview.LayerCount(), 1);
}

TEST_F(PlayViewAndPreviewBox, FirstDealShowsTheHoverMarkerAtTheStartAndExactlyTheShapesCars)
{
    StartUp();
    PlayRepaints = PreviewRepaints = 0;
    Deal(Level72);
    EXPECT_EQ(PlayRepaints, 2) << "one repaint per bracket of the set-up";
    EXPECT_EQ(PreviewRepaints, 0);
    ASSERT_EQ(TheBoard->CurrentShape.CellCount, 72);

    EXPECT_TRUE(Play.Layer(HoverMarkerLayer).Visible);
    EXPECT_EQ(Play.Layer(HoverMarkerLayer).Location, (Rect{128, 256, 224, 304}));
    EXPECT_FALSE(Play.Layer(SelectionMarkerLayer).Visible);
    EXPECT_EQ(VisibleLayers(Play, 74, 145), Range(74, 145));

    // Ordinals row by row; each bay's layers, places and pictures.
    const BoardShape& s = TheBoard->CurrentShape;
    int k = 1;
    for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
        for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column, ++k) {
            SCOPED_TRACE(::testing::Message() << "bay " << column << "," << row);
            ASSERT_EQ(Ordinal(column, row), k);
            const SceneLayer& ground = Play.Layer(k - 1);
            const SceneLayer& car = Play.Layer(k + 73);
            EXPECT_EQ(ground.Location, BayRect(column, row));
            EXPECT_EQ(car.Location, CarRect(column, row));
            const int32_t hidden = TheBoard->HiddenCount(column, row);
            EXPECT_EQ(hidden, column == 5 || column == 10 ? 1 : 0);
            EXPECT_EQ(ground.Visible, hidden > 0) << "a bay without hidden cars keeps its tile hidden";
            EXPECT_EQ(ground.Image, &Pictures[static_cast<size_t>(83 + hidden)]);
            const CarId top = TheBoard->Cells(column, row).Slot[0];
            EXPECT_GE(top, 1);
            EXPECT_EQ(car.Image, &Pictures[static_cast<size_t>(top)]);
        }
    ExpectFrameCurrent();
    // Black behind the bays: no map file in the program folder.
    EXPECT_EQ(Play.Frame().At(0, 0), Black);
    EXPECT_EQ(Play.Frame().At(767, 479), Black);
}

TEST_F(PlayViewAndPreviewBox, BayLeftWithoutACarShowsTheMarkerSqueezedIntoItsCarRectangle)
{
    StartUp();
    Deal(Level60);
    const BoardShape& s = TheBoard->CurrentShape;
    ASSERT_EQ(s.CellCount, 60);
    for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
        for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column) {
            const SceneLayer& car = Car(column, row);
            EXPECT_TRUE(car.Visible);
            EXPECT_EQ(car.Location, CarRect(column, row));
            EXPECT_EQ(car.Image, column >= 6 ? &Pictures[0] : &Pictures[static_cast<size_t>(TheBoard->Cells(column, row).Slot[0])]);
        }
    ExpectFrameCurrent();
    // The last bay's car layer lies on top of everything: both ends of the squeezed
    // frame show at the ends of its car rectangle.
    const Rect r = CarRect(s.MaxColumn, s.MaxRow);
    for (uint32_t p : {Play.Frame().At(r.Left + 1, r.Top + 32), Play.Frame().At(r.Left + 72, r.Top + 16)})
        EXPECT_TRUE(p == Rgb(255, 255, 0) || p == Rgb(255, 0, 0)) << std::hex << p;
}

TEST_F(PlayViewAndPreviewBox, SmallerBoardAfterALargerOneLeavesTheExtraLayersHidden)
{
    StartUp();
    Deal(Level72);
    TheBoard->CarSelected = true;
    Scene.BeginUpdate();
    Scene.ShowSelectionMarker(7, 12);
    Scene.EndUpdate();
    Scene.Changed();
    PlayRepaints = 0;
    Deal(Level60);
    EXPECT_EQ(PlayRepaints, 2);
    EXPECT_EQ(VisibleLayers(Play, 60, 71), std::vector<int>{});
    EXPECT_EQ(VisibleLayers(Play, 134, 145), std::vector<int>{});
    EXPECT_EQ(VisibleLayers(Play, 74, 145), Range(74, 133));
    EXPECT_EQ(VisibleLayers(Play, 0, 59), std::vector<int>{}) << "level 2 hides no cars";
    EXPECT_FALSE(Play.Layer(SelectionMarkerLayer).Visible);
    EXPECT_TRUE(Play.Layer(HoverMarkerLayer).Visible);
    ExpectFrameCurrent();
}

TEST_F(PlayViewAndPreviewBox, RevealsCountDownToTheEmptyTileWhichStaysVisible)
{
    StartUp();
    // One bay with five hidden cars, its neighbour with none.
    SetUp(
        1, [](int32_t column, int32_t row) { return column == 6 && row == 12 ? 5 : 0; },
        [](int32_t column, int32_t row) { return column == 6 && row == 12 ? 0 : 1 + (column * 3 + row) % 82; });
    EXPECT_EQ(Ground(6, 12).Image, &Pictures[88]);
    EXPECT_TRUE(Ground(6, 12).Visible);
    EXPECT_FALSE(Ground(7, 12).Visible);
    EXPECT_EQ(Car(6, 12).Image, &Pictures[0]) << "CarId 0 at the set-up";

    for (int reveal = 1; reveal <= 5; ++reveal) {
        SCOPED_TRACE(::testing::Message() << "reveal " << reveal);
        PlayRepaints = 0;
        const CarId next = TheBoard->Cells(6, 12).Slot[1];
        ASSERT_EQ(ClickBay(*TheBoard, Scene, BayPos{6, 12}).Outcome, ClickOutcome::Revealed);
        EXPECT_EQ(PlayRepaints, 1);
        EXPECT_EQ(Car(6, 12).Image, &Pictures[static_cast<size_t>(next)]);
        EXPECT_TRUE(Car(6, 12).Visible);
        EXPECT_EQ(Ground(6, 12).Image, &Pictures[static_cast<size_t>(88 - reveal)]);
        EXPECT_TRUE(Ground(6, 12).Visible);
        ExpectFrameCurrent();
        // Empty the top again, as a removed pair would.
        TheBoard->Cells(6, 12).Slot[0] = 0;
        Scene.BeginUpdate();
        Scene.HideCar(6, 12);
        Scene.EndUpdate();
        Scene.Changed();
    }
    // Nothing left to reveal: the empty tile stays, and so does the neighbour's hidden one.
    EXPECT_EQ(ClickBay(*TheBoard, Scene, BayPos{6, 12}).Outcome, ClickOutcome::Nothing);
    EXPECT_EQ(Ground(6, 12).Image, &Pictures[83]);
    EXPECT_TRUE(Ground(6, 12).Visible);
    EXPECT_FALSE(Ground(7, 12).Visible);
    EXPECT_FALSE(Car(6, 12).Visible);
}

TEST_F(PlayViewAndPreviewBox, SetHiddenCountPictureChangesThePictureButNotTheVisibility)
{
    StartUp();
    SetUp(
        1, [](int32_t column, int32_t) { return column == 4 ? 2 : 0; },
        [](int32_t column, int32_t row) { return 1 + (column + row) % 82; });
    Scene.BeginUpdate();
    Scene.SetHiddenCountPicture(4, 10, 4);
    Scene.SetHiddenCountPicture(5, 10, 3);
    Scene.EndUpdate();
    Scene.Changed();
    EXPECT_EQ(Ground(4, 10).Image, &Pictures[87]);
    EXPECT_TRUE(Ground(4, 10).Visible);
    EXPECT_EQ(Ground(5, 10).Image, &Pictures[86]);
    EXPECT_FALSE(Ground(5, 10).Visible);
    ExpectFrameCurrent();
}

TEST_F(PlayViewAndPreviewBox, ResetBoardSceneKeepsTheHoverMarkerAndHidesEverythingElse)
{
    StartUp();
    Deal(Level72);
    Scene.BeginUpdate();
    Scene.MoveHoverMarker(8, 14);
    Scene.ShowSelectionMarker(6, 9);
    Scene.EndUpdate();
    Scene.Changed();

    PlayRepaints = 0;
    Scene.BeginUpdate();
    Scene.ResetBoardScene(9);
    Scene.Changed();
    EXPECT_EQ(PlayRepaints, 0) << "Changed inside an open bracket does not repaint";
    Scene.EndUpdate();
    EXPECT_EQ(PlayRepaints, 0);
    Scene.Changed();
    EXPECT_EQ(PlayRepaints, 1);
    EXPECT_TRUE(Play.Layer(HoverMarkerLayer).Visible);
    EXPECT_EQ(Play.Layer(HoverMarkerLayer).Location, BayRect(8, 14));
    EXPECT_EQ(VisibleLayers(Play, 0, 145), std::vector<int>{HoverMarkerLayer});
    EXPECT_EQ(Play.Background().Width, 768);
    EXPECT_EQ(Play.Background().Height, 480);
    ExpectFrameCurrent();
}

TEST_F(PlayViewAndPreviewBox, EveryHandlerRepaintsOncePerBracket)
{
    StartUp();
    Deal(Level72);
    PlayRepaints = PreviewRepaints = 0;

    // A pointer move, with the automatic preview of occupied bays: one of each view.
    OptionFlags options;
    options.AutoPreviewOccupied = true;
    PointerMoveBay(*TheBoard, Scene, BayPos{5, 9}, options); // column 5 hides a car
    EXPECT_EQ(PlayRepaints, 1);
    EXPECT_EQ(PreviewRepaints, 1);
    EXPECT_EQ(Preview.Layer(0).Image, &Pictures[static_cast<size_t>(TheBoard->Cells(5, 9).Slot[1])]);
    PointerMoveBay(*TheBoard, Scene, BayPos{6, 9}, options); // nothing hidden there
    EXPECT_EQ(PlayRepaints, 2);
    EXPECT_EQ(PreviewRepaints, 1);
    ExpectFrameCurrent();
    // Only the marker's old and new bays are handed on for the screen, not the view.
    EXPECT_EQ(PlayChanged, (std::vector<Rect>{BayRect(5, 9), BayRect(6, 9)}));
    PointerMoveBay(*TheBoard, Scene, BayPos{6, 9}, options);
    EXPECT_TRUE(PlayChanged.empty()) << "a move within the same bay changes nothing on screen";

    // A click that selects, one off the board.
    const BoardShape& s = TheBoard->CurrentShape;
    PlayRepaints = 0;
    EXPECT_EQ(ClickBay(*TheBoard, Scene, BayPos{s.MinColumn, s.MinRow}).Outcome, ClickOutcome::Selected);
    EXPECT_EQ(PlayRepaints, 1);
    EXPECT_TRUE(Play.Layer(SelectionMarkerLayer).Visible);
    EXPECT_EQ(Play.Layer(SelectionMarkerLayer).Location, BayRect(s.MinColumn, s.MinRow));
    EXPECT_EQ(ClickBay(*TheBoard, Scene, BayPos{3, 7}).Outcome, ClickOutcome::OffBoard);
    EXPECT_EQ(PlayRepaints, 1) << "nothing changed, nothing repainted";
    ExpectFrameCurrent();

    // A preview on its own: its own bracket on the preview box only.
    PlayRepaints = PreviewRepaints = 0;
    Scene.ShowPreview(12);
    EXPECT_EQ(PreviewRepaints, 1);
    EXPECT_EQ(PlayRepaints, 0);
    EXPECT_EQ(Preview.UpdateCount(), 0);
}

TEST_F(PlayViewAndPreviewBox, PreviewShowsGreyThroughTheCarAndSurvivesANewBoard)
{
    StartUp();
    Scene.ShowPreview(17);
    const Picture& car = Pictures[17];
    int grey = 0;
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 74; ++x) {
            const uint32_t src = car.At(x, y);
            ASSERT_EQ(Preview.Frame().At(x, y), (src >> 24) == 255 ? src : Grey) << x << "," << y;
            grey += (src >> 24) == 0;
        }
    EXPECT_GT(grey, 100);

    Deal(Level72);
    EXPECT_EQ(Preview.Layer(0).Image, &Pictures[17]) << "a new board does not clear the preview";

    Scene.ShowPreview(PlaceholderPicture);
    for (uint32_t p : Preview.Frame().Pixels)
        ASSERT_NE(p, Grey);
}

TEST_F(PlayViewAndPreviewBox, TheBackgroundShownIsTheBoardsOwnAndTheNextSetUpStartsBlack)
{
    StartUp();
    Picture small(30, 20, 0, DrawMode::Opaque);
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 30; ++x)
            small.At(x, y) = Rgb(uint32_t(x * 8), uint32_t(y * 7), 200);
    // A set-up of a shape, then its background shown in the same bracket, or none.
    auto setUp = [&](int32_t shapeId, const Picture* background) {
        Scene.BeginUpdate();
        Scene.ResetBoardScene(shapeId);
        if (background)
            Scene.ShowBackground(*background);
        Scene.EndUpdate();
        Scene.Changed();
    };
    setUp(10, &small);
    ASSERT_EQ(Play.Background().Width, 30);
    ASSERT_EQ(Play.Background().Height, 20);
    EXPECT_EQ(Play.Frame().At(3, 2), Rgb(24, 14, 200));
    EXPECT_EQ(Play.Frame().At(29, 19), Rgb(29 * 8, 19 * 7, 200));
    EXPECT_EQ(Play.Frame().At(30, 5), Black) << "black around a smaller picture";
    EXPECT_EQ(Play.Frame().At(5, 20), Black);

    // The next set-up, of the same shape or after another shape's picture, shows
    // black until its own background is shown.
    for (int32_t shownFor : {0, 6}) {
        if (shownFor != 0)
            setUp(shownFor, &small);
        setUp(10, nullptr);
        EXPECT_EQ(Play.Background().Width, 768);
        for (uint32_t p : Play.Frame().Pixels)
            ASSERT_EQ(p, Black);
    }

    // A larger picture is clipped; shown with the deal, in one repaint.
    const Picture big = fixture::PatternBackground(800, 500);
    PlayRepaints = 0;
    Scene.BeginUpdate();
    Deal(Level72);
    Scene.ShowBackground(big);
    Scene.EndUpdate();
    Scene.Changed();
    EXPECT_EQ(PlayRepaints, 1) << "the deal's two brackets inside the caller's";
    EXPECT_EQ(Play.Background().Width, 800);
    EXPECT_EQ(Play.Frame().At(0, 0), big.At(0, 0));
    EXPECT_EQ(Play.Frame().At(767, 479), big.At(767, 479));
    ExpectFrameCurrent();
}

// A file that could not be read gives no picture; the window reports it.
TEST_F(PlayViewAndPreviewBox, ABackgroundThatCouldNotBeReadLeavesTheBoardOverBlack)
{
    StartUp();
    Scene.BeginUpdate();
    Scene.ResetBoardScene(9);
    Scene.ShowBackground(fixture::PatternBackground());
    Scene.EndUpdate();
    Scene.Changed();
    PlayRepaints = 0;
    Scene.BeginUpdate();
    Deal(Level72);
    Scene.ShowBackground(Picture{});
    Scene.EndUpdate();
    Scene.Changed();
    EXPECT_EQ(PlayRepaints, 1);
    EXPECT_EQ(Play.Background().Width, 768);
    EXPECT_EQ(Play.Frame().At(0, 0), Black);
    EXPECT_EQ(VisibleLayers(Play, 74, 145), Range(74, 145)) << "the set-up went on";
    EXPECT_EQ(Play.UpdateCount(), 0);
    ExpectFrameCurrent();
}
