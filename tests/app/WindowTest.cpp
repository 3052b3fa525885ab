// The main window: start-up, layout, pages, modes, START and the win.
#include "model/Invariants.h"
#include "FormHarness.h"
#include "view/PageLayout.h"
#include "app/WindowDesign.h"
#include "core/Random.h"
#include "view/ImageCatalogue.h"
#include "view/PictureFiles.h"
#include "view/SceneFixtures.h"
#include "view/TestFiles.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace {

QColor TextColour(const QWidget* w) { return w->palette().color(QPalette::WindowText); }

QPoint ClientPos(const QWidget* w, const QWidget* form) { return w->mapTo(form, QPoint(0, 0)); }

// Another window taken up, then the activation handed back, as a window manager does.
void ActivateAnotherWindowAndBack(QWidget* form)
{
    {
        QWidget other;
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    }
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
}

} // namespace

TEST_F(WindowTest, StartUpOpensTheMenuWithLevelOneDealt)
{
    StartGame();
    EXPECT_TRUE(Boxes.Shown.empty());
    EXPECT_FALSE(Form->StartUpFailed());
    EXPECT_EQ(Form->GetProgramFolder(), Folder.Path());

    EXPECT_EQ(Form->Pages->currentWidget(), Form->TabSheet1);
    EXPECT_EQ(Form->Pages->count(), 3);
    EXPECT_FALSE(TheBoard().InputEnabled);
    EXPECT_FALSE(TheBoard().CarSelected);

    EXPECT_EQ(Form->GetGameMode(), GameMode::NormalChampionship);
    EXPECT_EQ(TextColour(Form->ModeLabel[1]), QColor(0xFF, 0xFF, 0x00));
    for (int mode = 2; mode <= 6; ++mode)
        EXPECT_EQ(TextColour(Form->ModeLabel[static_cast<size_t>(mode)]), QColor(0x80, 0x80, 0x80)) << mode;

    for (const SpinEdit* spin : {Form->SpinEdit2, Form->SpinEdit3}) {
        EXPECT_EQ(spin->value(), 1);
        EXPECT_EQ(spin->minimum(), 1);
        EXPECT_EQ(spin->maximum(), 2);
    }
    EXPECT_EQ(TheProfile().UnlockedNormal, 2);
    EXPECT_EQ(TheProfile().UnlockedAdvanced, 2);
    EXPECT_EQ(TheProfile().Money, 0);
    EXPECT_EQ(Text(Form->Label10), "$0");

    const QImage empty = ToImage(ReadJpegFile(Folder.Path() + "tiles/0.jpg").Image);
    for (int n = 2; n <= 9; ++n) {
        const PictureBox* slot = Form->JPEGImage[static_cast<size_t>(n)];
        EXPECT_EQ(slot->Source(), Folder.Path() + "tiles/0.jpg") << "JPEGImage" << n;
        EXPECT_EQ(slot->Image(), empty) << "JPEGImage" << n;
    }
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(Form->ColorButtonN[static_cast<size_t>(n)]->text(), "BUY");

    // Level 1 of the easy file: shape 6, one car in each of its 8 rows.
    EXPECT_EQ(Form->GetCurrentLevel(), 1);
    EXPECT_EQ(TheBoard().CurrentShape.ShapeId, 6);
    EXPECT_EQ(TheBoard().CarsLeft, 8);
    EXPECT_EQ(CountCars(TheBoard()), 8);
    EXPECT_EQ(Text(Form->Label1), "8 cars left");
}

TEST_F(WindowTest, StartUpRunsOnlyAtTheFirstActivation)
{
    Form = std::make_unique<TForm1>(Boxes, Folder.Path());
    EXPECT_FALSE(Form->HasStartedUp());
    // No window manager here: the start-up must follow the first show by itself.
    Form->show();
    QTRY_VERIFY(Form->HasStartedUp());
    const BayGrid<Cell> dealt = TheBoard().Cells;
    const uint32_t random = RandomState();

    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(Form.get(), &activate);
    Form->FormActivate();
    Form->hide();
    Form->show();
    QApplication::processEvents();
    EXPECT_TRUE(TheBoard().Cells == dealt) << "a second start-up would deal again";
    EXPECT_EQ(RandomState(), random) << "a second start-up would re-seed";
    EXPECT_TRUE(Boxes.Shown.empty());
}

TEST_F(WindowTest, WindowAndPagesSitWhereThePlayerExpectsThem)
{
    StartGame();
    Form->show();
    QApplication::processEvents();
    EXPECT_EQ(Form->windowTitle(), " Vroomzle");
    EXPECT_EQ(Form->size(), QSize(792, 573));
    EXPECT_EQ(Form->Panel1->geometry(), QRect(0, 0, 792, 72));
    EXPECT_EQ(Form->VrGradient1->geometry(), QRect(1, 1, 790, 70));
    EXPECT_EQ(Form->PageControl1->geometry(), QRect(0, 72, 792, 501));
    for (QWidget* page : {Form->TabSheet1, Form->TabSheet2, Form->TabSheet3}) {
        Form->Pages->setCurrentWidget(page);
        EXPECT_EQ(ClientPos(page, Form.get()), QPoint(4, 86));
        EXPECT_EQ(page->size(), QSize(784, 483));
    }
    EXPECT_EQ(ClientPos(Form->Image321, Form.get()), QPoint(12, 89));
    EXPECT_EQ(Form->Image321->size(), QSize(768, 480));
    EXPECT_TRUE(Form->Image321->hasMouseTracking());
    EXPECT_EQ(Form->Image322->geometry(), QRect(536, 12, 74, 48));
    EXPECT_EQ(Form->B_MENU->geometry(), QRect(4, 40, 117, 31));
    EXPECT_EQ(Form->B_GAME->geometry(), QRect(124, 40, 117, 31));
    EXPECT_EQ(Form->B_STAGES->geometry(), QRect(652, 40, 133, 31));
    EXPECT_EQ(Form->B_STAGES->text(), "SHOP");
    EXPECT_EQ(Form->Label1->pos(), QPoint(672, 4));
    EXPECT_EQ(Form->Label10->pos(), QPoint(704, 20));

    // The pages: every widget placed by view/PageLayout.h sits on its place there
    // (the view tests hold those places to the design).
    const auto rect = [](const PageRect& r) { return QRect(r.Left, r.Top, r.Width, r.Height); };
    const std::pair<const QWidget*, PageRect> placed[] = {
        {Form->JPEGImage[1], PageBackgroundPlace}, {Form->JPEGImage[10], PageBackgroundPlace},
        {Form->Shape1, MenuFrame},                 {Form->Shape2, ButtonFrame},
        {Form->SpinEdit2, SpinEdit2Place},         {Form->SpinEdit3, SpinEdit3Place},
        {Form->SpeedButton1, FlatButtonPlace(0)},  {Form->SpeedButton2, FlatButtonPlace(1)},
        {Form->SpeedButton3, FlatButtonPlace(2)},  {Form->SpeedButton4, FlatButtonPlace(3)},
        {Form->Label8, CreditLine},                {Form->Label9, ForumLine},
        {Form->fcLabel2, ShopTitle},
    };
    for (const auto& [widget, place] : placed)
        EXPECT_EQ(widget->geometry(), rect(place)) << widget->objectName().toStdString();
    for (int mode = 1; mode <= GameModeCount; ++mode)
        EXPECT_EQ(Form->ModeLabel[static_cast<size_t>(mode)]->pos(),
                  QPoint(ModeLabelLeft, ModeLabelTop + ModeLabelStep * (mode - 1)))
            << "Label" << mode + 1;
    // Each shop item where its place says: the header slot, the picture, the
    // button and the three lines; a few of those numbers against the design.
    for (const ShopPlace& place : ShopPlaces) {
        SCOPED_TRACE(ItemInfo(place.Item).Name);
        EXPECT_EQ(Form->JPEGImage[static_cast<size_t>(place.HeaderSlot)]->geometry(),
                  QRect(place.HeaderLeft, 4, ItemPictureWidth, ItemPictureHeight));
        EXPECT_EQ(Form->JPEGImage[static_cast<size_t>(place.Picture)]->geometry(),
                  QRect(place.PictureLeft, place.PictureTop, ItemPictureWidth, ItemPictureHeight));
        EXPECT_EQ(Form->ColorButtonN[static_cast<size_t>(place.Button)]->geometry(),
                  QRect(place.ButtonLeft, place.ButtonTop, 75, 25));
        for (int line = 0; line < 3; ++line)
            EXPECT_EQ(Form->ShopLabel[static_cast<size_t>(place.FirstLabel + line)]->pos(),
                      QPoint(place.Left, place.Top + ShopLineStep * line));
    }
    EXPECT_EQ(Form->JPEGImage[5]->geometry(), QRect(352, 4, 25, 64));
    EXPECT_EQ(Form->ColorButtonN[6]->geometry(), QRect(616, 216, 75, 25));
    EXPECT_EQ(Form->ShopLabel[25]->text(), "$1000");
    EXPECT_EQ(Form->ShopLabel[25]->pos(), QPoint(156, 156));
    EXPECT_EQ(Form->ShopLabel[21]->text(), "for experts");
    EXPECT_EQ(Form->JPEGImage[18]->pos(), QPoint(460, 188));
    // Each shop button sells its item, whose header slot shows it; the header
    // shows both PREVIEW items before both AUTO-PREVIEW ones.
    for (const ShopPlace& place : ShopPlaces)
        EXPECT_EQ(ItemOfColorButton(place.Button), place.Item);
    EXPECT_EQ(ItemOfColorButton(1), ShopItem::PreviewEmpty);
    EXPECT_EQ(ItemOfColorButton(5), ShopItem::Undo);
    EXPECT_LT(Form->JPEGImage[static_cast<size_t>(PlaceOf(ShopItem::PreviewOccupied).HeaderSlot)]->x(),
              Form->JPEGImage[static_cast<size_t>(PlaceOf(ShopItem::AutoPreviewEmpty).HeaderSlot)]->x());
    // The page background is dark behind these areas only: every text lies inside one.
    auto inside = [](const QWidget* w, const PageRect& r) {
        return QRect(r.Left, r.Top, r.Width, r.Height).contains(w->geometry());
    };
    for (int mode = 1; mode <= GameModeCount; ++mode)
        EXPECT_TRUE(inside(Form->ModeLabel[static_cast<size_t>(mode)], ModeLabelArea)) << "Label" << mode + 1;
    for (int n = 11; n <= 34; ++n)
        EXPECT_TRUE(inside(Form->ShopLabel[static_cast<size_t>(n)], ShopTextArea)) << "Label" << n;
    EXPECT_TRUE(inside(Form->Label8, CreditLine) && inside(Form->Label9, ForumLine));

    EXPECT_EQ(Form->Label1->font().pixelSize(), 16);
    EXPECT_TRUE(Form->Label1->font().bold());
    EXPECT_EQ(Form->ModeLabel[1]->font().pixelSize(), 19);
    EXPECT_EQ(Form->SpinEdit2->font().pixelSize(), 12);
    EXPECT_EQ(Form->SpeedButton1->font().pixelSize(), 27);
    EXPECT_EQ(Form->SpeedButton1->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Form->B_GAME->focusPolicy(), Qt::NoFocus);

    // Resizing: the pages keep their height at the bottom, the header takes the rest.
    Form->resize(900, 700);
    QApplication::processEvents();
    EXPECT_EQ(Form->PageControl1->geometry(), QRect(0, 199, 900, 501));
    EXPECT_EQ(Form->Panel1->height(), 199);
    EXPECT_EQ(Form->VrGradient1->height(), 197);
    EXPECT_EQ(Form->TabSheet3->size(), QSize(892, 483));

    // Never smaller than its design size, so the header cannot leave the top.
    Form->resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(Form->size(), QSize(792, 573));
    EXPECT_EQ(Form->Panel1->geometry(), QRect(0, 0, 792, 72));
    EXPECT_EQ(Form->B_MENU->mapTo(Form.get(), QPoint(0, 0)), QPoint(4, 40));
}

// Space is the preview key of the GAME page; on the SHOP page it must not buy or
// sell by itself. A page switch gives no shop button the focus, while Tab and a
// click still do, in the order 1 … 8, and a button so focused clicks on Space.
TEST_F(WindowTest, ShopButtonsTakeTheFocusOnlyFromTheTabKeyOrAClick)
{
    StartGame();
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    auto focused = [] { return QApplication::focusWidget(); };
    auto isShopButton = [&](QWidget* w) {
        return std::find(Form->ColorButtonN.begin(), Form->ColorButtonN.end(), w) != Form->ColorButtonN.end();
    };
    auto press = [&](Qt::Key key) { QTest::keyClick(focused() ? focused() : Form.get(), key); };

    // From the MENU page with a spin box focused, from the GAME page, and back from the MENU.
    Form->SpinEdit2->setFocus();
    for (ShapeButton* via : {Form->B_STAGES, Form->B_GAME, Form->B_STAGES, Form->B_MENU, Form->B_STAGES}) {
        QTest::mouseClick(via, Qt::LeftButton);
        if (via != Form->B_STAGES)
            continue;
        EXPECT_FALSE(isShopButton(focused())) << "a page switch gave a shop button the focus";
        press(Qt::Key_Space);
        EXPECT_TRUE(Boxes.Shown.empty()) << "Space bought by itself";
    }
    // Another window taken up and given back hands the focus to no shop button either.
    ActivateAnotherWindowAndBack(Form.get());
    EXPECT_FALSE(isShopButton(focused()));

    for (int n = 1; n <= 8; ++n) {
        press(Qt::Key_Tab);
        EXPECT_EQ(focused(), Form->ColorButtonN[static_cast<size_t>(n)]) << n;
    }
    press(Qt::Key_Space);
    ASSERT_EQ(Boxes.Texts("information").size(), 1u) << "a button focused with Tab clicks on Space";
    EXPECT_EQ(Boxes.Texts("information")[0], TooLittleMoneyText);

    // A button the player clicked keeps the focus and clicks on Space.
    QTest::mouseClick(Form->ColorButtonN[5], Qt::LeftButton);
    press(Qt::Key_Space);
    EXPECT_EQ(Boxes.Texts("information").size(), 3u);
    // Away and back: the switch takes the focus from it.
    QTest::mouseClick(Form->B_MENU, Qt::LeftButton);
    QTest::mouseClick(Form->B_STAGES, Qt::LeftButton);
    EXPECT_FALSE(isShopButton(focused()));
}

TEST_F(WindowTest, PageButtonsSwitchPagesAndInput)
{
    StartGame();
    const BayGrid<Cell> dealt = TheBoard().Cells;
    QTest::mouseClick(Form->B_GAME, Qt::LeftButton);
    EXPECT_EQ(Form->Pages->currentWidget(), Form->TabSheet2);
    EXPECT_TRUE(TheBoard().InputEnabled) << "GAME continues the board dealt at start-up";
    QTest::mouseClick(Form->B_STAGES, Qt::LeftButton);
    EXPECT_EQ(Form->Pages->currentWidget(), Form->TabSheet3);
    EXPECT_FALSE(TheBoard().InputEnabled);
    QTest::mouseClick(Form->B_GAME, Qt::LeftButton);
    EXPECT_TRUE(TheBoard().InputEnabled);
    QTest::mouseClick(Form->B_MENU, Qt::LeftButton);
    EXPECT_EQ(Form->Pages->currentWidget(), Form->TabSheet1);
    EXPECT_FALSE(TheBoard().InputEnabled);
    EXPECT_TRUE(TheBoard().Cells == dealt);
    EXPECT_TRUE(Boxes.Shown.empty());
}

TEST_F(WindowTest, AWonBoardIsPaidOnlyOnce)
{
    StartGame();
    Form->B_GAMEClick();
    WinByClicking();
    EXPECT_EQ(TheProfile().Money, 105);
    EXPECT_EQ(Form->Pages->currentWidget(), Form->TabSheet1);

    Form->B_GAMEClick();
    EXPECT_EQ(Form->Pages->currentWidget(), Form->TabSheet2);
    EXPECT_FALSE(TheBoard().InputEnabled) << "the won board must not take clicks";
    ClickOn(TheBoard().CurrentShape.MinColumn, TheBoard().CurrentShape.MinRow);
    EXPECT_EQ(TheProfile().Money, 105);
    EXPECT_EQ(Boxes.Texts("information").size(), 1u);
}

TEST_F(WindowTest, ChoosingAModeRecoloursTheLabelsAndKeepsTheBoard)
{
    StartGame();
    Form->B_GAMEClick();
    ClickOn(3, 11); // select a car
    ASSERT_TRUE(TheBoard().CarSelected);
    const BayGrid<Cell> board = TheBoard().Cells;
    Form->B_MENUClick();

    QTest::mouseClick(Form->ModeLabel[4], Qt::LeftButton);
    EXPECT_EQ(Form->GetGameMode(), GameMode::FreeNormal);
    for (int mode = 1; mode <= 6; ++mode)
        EXPECT_EQ(TextColour(Form->ModeLabel[static_cast<size_t>(mode)]),
                  mode == 4 ? QColor(0xFF, 0xFF, 0x00) : QColor(0x80, 0x80, 0x80))
            << mode;
    QTest::mouseClick(Form->ModeLabel[4], Qt::LeftButton);
    EXPECT_EQ(Form->GetGameMode(), GameMode::FreeNormal);
    EXPECT_EQ(TextColour(Form->ModeLabel[4]), QColor(0xFF, 0xFF, 0x00));

    EXPECT_TRUE(TheBoard().Cells == board);
    EXPECT_EQ(Form->GetCurrentLevel(), 1);
    EXPECT_EQ(Form->Pages->currentWidget(), Form->TabSheet1);
    Form->B_GAMEClick();
    EXPECT_TRUE(TheBoard().CarSelected) << "going back with GAME continues the board";
}

TEST_F(WindowTest, StartDealsTheLevelOfEachMode)
{
    // Each level its own shape, so the board shows which level was dealt.
    std::string levels;
    for (int level = 1; level <= LevelCount; ++level) {
        const int shape = level % 2 == 0 ? 6 : 10; // both start at column 3 with 8 rows
        levels += LevelLine(level, shape, 3);
    }
    Folder.Write("map/level.ini", levels);
    StartGame();
    Form->SpinEdit2->setValue(2);
    Form->SpinEdit3->setValue(2);

    QTest::mouseClick(Form->SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(Form->GetCurrentLevel(), 2);
    EXPECT_EQ(TheBoard().CurrentShape.ShapeId, 6);
    EXPECT_EQ(Form->Pages->currentWidget(), Form->TabSheet2);
    EXPECT_TRUE(TheBoard().InputEnabled);

    Form->Label3Click();
    Form->SpeedButton1Click();
    EXPECT_EQ(Form->GetCurrentLevel(), 42);

    const int firsts[7] = {0, 0, 0, 81, 91, 101, 106};
    for (int mode = 3; mode <= 6; ++mode)
        for (uint32_t seed : {1u, 77u, 123456789u, 4000000000u}) {
            ChooseMode(mode);
            SetRandomState(seed);
            const int32_t r = RandomBelow(4);
            SetRandomState(seed);
            Form->B_MENUClick();
            Form->SpeedButton1Click();
            EXPECT_EQ(Form->GetCurrentLevel(), firsts[mode] + r) << "mode " << mode << " seed " << seed;
            EXPECT_EQ(TheBoard().CurrentShape.ShapeId, (firsts[mode] + r) % 2 == 0 ? 6 : 10);
            EXPECT_EQ(Form->Pages->currentWidget(), Form->TabSheet2);
            EXPECT_TRUE(TheBoard().InputEnabled);
        }
    EXPECT_TRUE(Boxes.Shown.empty());
}

TEST_F(WindowTest, StartClampsATypedNumberToTheBox)
{
    StartGame();
    Form->show();
    // The validator lets a 0 through while typing; START takes no focus, so the box
    // has not clamped it yet when START reads it.
    Form->SpinEdit2->setFocus();
    Form->SpinEdit2->selectAll();
    QTest::keyClicks(Form->SpinEdit2, "0");
    ASSERT_EQ(Form->SpinEdit2->TypedNumber(), 0);
    QTest::mouseClick(Form->SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(Form->GetCurrentLevel(), 1);
    EXPECT_EQ(Form->SpinEdit2->value(), 1);

    // A number past the maximum, as a hand-set text would hold it: 75 + 40 would be level 115.
    Form->B_MENUClick();
    Form->Label3Click();
    Form->SpinEdit3->findChild<QLineEdit*>()->setText("75");
    ASSERT_EQ(Form->SpinEdit3->TypedNumber(), 75);
    Form->SpinEdit2->findChild<QLineEdit*>()->setText("0");
    Form->SpeedButton1Click();
    EXPECT_EQ(Form->GetCurrentLevel(), 42);
    EXPECT_EQ(Form->SpinEdit3->text(), "2");
    EXPECT_EQ(Form->SpinEdit2->text(), "0") << "only the box the mode reads is clamped";

    Form->B_MENUClick();
    Form->SpinEdit3->findChild<QLineEdit*>()->setText("x");
    Form->SpeedButton1Click();
    EXPECT_EQ(Form->GetCurrentLevel(), 41) << "a text that is no number reads as the minimum";
    EXPECT_TRUE(Boxes.Shown.empty());
}

TEST_F(WindowTest, SpinBoxesClampOnlyWhenSetTheArrowsOrLeft)
{
    StartGame();
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    SpinEdit* box = Form->SpinEdit2;
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "75");
    EXPECT_EQ(box->text(), "75") << "typed digits past the maximum stay as typed";
    EXPECT_EQ(box->value(), 75);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->text(), "2") << "an arrow clamps";

    // A message box or another window takes the activation, not the focus of the window.
    box->selectAll();
    QTest::keyClicks(box, "9");
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(box->text(), "9") << "another window taken up clamps nothing";
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    QMenu popup;
    popup.addAction(QStringLiteral("x"));
    popup.popup(Form->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup));
    popup.close();
    EXPECT_EQ(box->text(), "9") << "a popup clamps nothing";
    EXPECT_TRUE(box->hasFocus());

    // An emptied box stays empty while the window is away, and reads as the minimum.
    box->findChild<QLineEdit*>()->clear();
    ActivateAnotherWindowAndBack(Form.get());
    EXPECT_EQ(box->text(), "") << "an emptied box came back filled in";
    EXPECT_EQ(box->TypedNumber(), 1);
    Form->SpinEdit3->setFocus();
    EXPECT_EQ(box->text(), "1") << "the focus leaving an empty box clamps it to the minimum";
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "9");

    Form->SpinEdit3->setFocus();
    EXPECT_EQ(box->text(), "2") << "the focus moving to another control clamps";

    box->setValue(0);
    EXPECT_EQ(box->value(), 1) << "a value set by code is clamped";
    box->setValue(2);
    box->setMaximum(1);
    EXPECT_EQ(box->value(), 2) << "a new maximum does not clamp";
    EXPECT_EQ(box->maximum(), 1);
}

TEST_F(WindowTest, AStartRefusedForABrokenLevelChangesNothingOfTheGameInPlay)
{
    // Level 2 on shape 1 (9 rows, one car each): an odd number of cars.
    std::string levels;
    for (int level = 1; level <= LevelCount; ++level)
        levels += level == 2 ? LevelLine(2, 1, 4) : LevelLine(level, 6, 3);
    Folder.Write("map/level.ini", levels);
    StartGame();
    const BayGrid<Cell> dealt = TheBoard().Cells;
    Form->SpinEdit2->setValue(2);
    Form->SpeedButton1Click();
    EXPECT_EQ(Boxes.Texts("error").size(), 1u);
    EXPECT_EQ(Form->GetCurrentLevel(), 1);
    EXPECT_TRUE(TheBoard().Cells == dealt);
    EXPECT_EQ(Form->Pages->currentWidget(), Form->TabSheet1);

    // Winning the board of level 1 pays level 1 and unlocks nothing.
    Form->B_GAMEClick();
    WinByClicking();
    EXPECT_EQ(TheProfile().Money, 105);
    EXPECT_EQ(TheProfile().UnlockedNormal, 2);
}

TEST_F(WindowTest, WinInTheNormalChampionship)
{
    StartGame();
    // While the box is open the money shows, input is off and the page has not changed yet.
    std::vector<std::string> moneyWhileOpen;
    Boxes.WhileOpen = [&](const ScriptedDialogs::Box& box) {
        EXPECT_EQ(box.Text, "CONGRATULATIONS!");
        EXPECT_FALSE(TheBoard().InputEnabled);
        EXPECT_EQ(Text(Form->Label1), "0 cars left");
        moneyWhileOpen.push_back(Text(Form->Label10));
    };
    PlayAndWin(1); // level 1
    EXPECT_EQ(TheProfile().Money, 105);
    EXPECT_EQ(TheProfile().UnlockedNormal, 2) << "level 1 is not the highest unlocked";
    EXPECT_EQ(Form->SpinEdit2->maximum(), 2);
    EXPECT_EQ(Form->SpinEdit2->value(), 2);
    EXPECT_EQ(Form->Pages->currentWidget(), Form->TabSheet1);
    EXPECT_FALSE(TheBoard().InputEnabled);

    PlayAndWin(1); // level 2
    EXPECT_EQ(Form->GetCurrentLevel(), 2);
    EXPECT_EQ(TheProfile().Money, 215);
    EXPECT_EQ(TheProfile().UnlockedNormal, 3);
    EXPECT_EQ(Form->SpinEdit2->maximum(), 3);
    EXPECT_EQ(Form->SpinEdit2->value(), 3);
    EXPECT_EQ(Text(Form->Label10), "$215");
    EXPECT_EQ(moneyWhileOpen, (std::vector<std::string>{"$105", "$215"}));
    EXPECT_EQ(Form->SpinEdit3->value(), 1) << "the other championship is untouched";

    // The last level: the unlocking is capped and the box stays where it is.
    TheProfile().UnlockedNormal = 40;
    Form->SpinEdit2->setMaximum(40);
    Form->SpinEdit2->setValue(40);
    PlayAndWin(1);
    EXPECT_EQ(Form->GetCurrentLevel(), 40);
    EXPECT_EQ(TheProfile().Money, 515);
    EXPECT_EQ(TheProfile().UnlockedNormal, 40);
    EXPECT_EQ(Form->SpinEdit2->maximum(), 40);
    EXPECT_EQ(Form->SpinEdit2->value(), 40);
}

TEST_F(WindowTest, WinInTheAdvancedChampionship)
{
    StartGame();
    Form->SpinEdit3->setValue(2);
    PlayAndWin(2); // level 42
    EXPECT_EQ(Form->GetCurrentLevel(), 42);
    EXPECT_EQ(TheProfile().Money, 40);
    EXPECT_EQ(TheProfile().UnlockedAdvanced, 3);
    EXPECT_EQ(Form->SpinEdit3->maximum(), 3);
    EXPECT_EQ(Form->SpinEdit3->value(), 3);
    EXPECT_EQ(TheProfile().UnlockedNormal, 2);
    EXPECT_EQ(Form->SpinEdit2->value(), 1);

    TheProfile().UnlockedAdvanced = 40;
    Form->SpinEdit3->setMaximum(40);
    Form->SpinEdit3->setValue(40);
    PlayAndWin(2); // level 80
    EXPECT_EQ(Form->GetCurrentLevel(), 80);
    EXPECT_EQ(TheProfile().Money, 840);
    EXPECT_EQ(Form->SpinEdit3->value(), 40);
    EXPECT_EQ(Text(Form->Label10), "$840");
}

TEST_F(WindowTest, FreeLevelsPayByModeWhateverTheLevel)
{
    StartGame();
    int32_t expected = 0;
    const int32_t pays[7] = {0, 0, 0, 50, 150, 300, 500};
    for (int mode = 3; mode <= 6; ++mode) {
        PlayAndWin(mode);
        expected += pays[mode];
        EXPECT_EQ(TheProfile().Money, expected) << "mode " << mode;
        EXPECT_EQ(Form->SpinEdit2->value(), 1);
        EXPECT_EQ(Form->SpinEdit3->value(), 1);
        EXPECT_EQ(Form->SpinEdit2->maximum(), 2);
    }
    EXPECT_EQ(Boxes.Texts("information").size(), 4u);
}

TEST_F(WindowTest, TheWinIsPaidForTheModeChosenAtTheTimeOfTheWin)
{
    StartGame();
    Form->Label7Click();
    Form->SpeedButton1Click();
    const int32_t level = Form->GetCurrentLevel();
    ASSERT_GE(level, 106);
    ASSERT_LE(level, 109);
    Form->B_MENUClick();
    Form->Label2Click();
    Form->B_GAMEClick();
    WinByClicking();
    EXPECT_EQ(TheProfile().Money, 100 + 5 * level);
    EXPECT_EQ(TheProfile().UnlockedNormal, 2);
    EXPECT_EQ(Form->SpinEdit2->value(), 1) << "not moved for a level past 40";

    // A normal-championship board won in the advanced mode pays nothing, and k + 1
    // (here 2 - 40 + 1) goes to the advanced box, which clamps it to 1.
    Form->SpinEdit3->setValue(2);
    Form->Label2Click();
    Form->SpinEdit2->setValue(2);
    Form->SpeedButton1Click();
    ASSERT_EQ(Form->GetCurrentLevel(), 2);
    const int32_t money = TheProfile().Money;
    Form->Label3Click();
    WinByClicking();
    EXPECT_EQ(TheProfile().Money, money);
    EXPECT_EQ(Form->SpinEdit3->value(), 1);
    EXPECT_EQ(TheProfile().UnlockedAdvanced, 2);
}

// A key release reaches FormKeyUp once, whichever widget holds the focus.
class CountingForm : public TForm1 {
public:
    using TForm1::TForm1;
    std::vector<int> Keys;
    void FormKeyUp(int key) override
    {
        Keys.push_back(key);
        TForm1::FormKeyUp(key);
    }
};

TEST_F(WindowTest, KeyReleasesReachFormKeyUpOnce)
{
    auto form = std::make_unique<CountingForm>(Boxes, Folder.Path());
    CountingForm& f = *form;
    f.show();
    QTRY_VERIFY(f.HasStartedUp());
    QWindow* window = f.windowHandle();
    ASSERT_NE(window, nullptr);

    auto release = [&](Qt::Key key) {
        f.Keys.clear();
        QTest::keyRelease(window, key);
        return f.Keys;
    };

    f.SpinEdit2->setFocus();
    ASSERT_EQ(f.focusWidget(), f.SpinEdit2);
    EXPECT_EQ(release(Qt::Key_Space), std::vector<int>{32}) << "spin box focused";

    f.B_STAGESClick();
    f.ColorButtonN[3]->setFocus();
    ASSERT_EQ(f.focusWidget(), f.ColorButtonN[3]);
    EXPECT_EQ(release(Qt::Key_Backspace), std::vector<int>{8}) << "shop button focused";

    f.B_GAMEClick();
    if (QWidget* focus = f.focusWidget())
        focus->clearFocus();
    ASSERT_EQ(f.focusWidget(), nullptr);
    EXPECT_EQ(release(Qt::Key_Space), std::vector<int>{32}) << "nothing focused";
    EXPECT_EQ(release(Qt::Key_A), std::vector<int>{'A'});

    // Held keys repeat their press and release; only the final release counts.
    f.Keys.clear();
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QString(" "), true);
    QApplication::sendEvent(&f, &repeated);
    EXPECT_TRUE(f.Keys.empty());
}

TEST(WindowErrors, AMissingLevelFileEndsTheStartUp)
{
    GameFolder folder;
    folder.Remove("map/level.ini");
    ScriptedDialogs boxes;
    TForm1 form(boxes, folder.Path());
    int failures = 0;
    form.SetStartUpFailedHandler([&] { ++failures; });
    form.FormActivate();
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_EQ(boxes.Shown[0].Kind, "error");
    EXPECT_EQ(boxes.Shown[0].Text, "File not found.");
    EXPECT_TRUE(form.StartUpFailed());
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(form.GetBoard().CarsLeft, 0) << "nothing is dealt";
    EXPECT_EQ(form.JPEGImage[2]->Source(), "header placeholder") << "the refresh did not run";

    // Nothing of the half-built game can be played.
    form.B_GAMEClick();
    form.SpeedButton1Click();
    EXPECT_FALSE(form.GetBoard().InputEnabled);
    EXPECT_EQ(boxes.Shown.size(), 1u);
}

TEST(WindowErrors, ADamagedLevelFileEndsTheStartUpWithItsReason)
{
    const std::string easy = EasyLevels();
    std::string tooManyCodes = "L001006,001";
    for (int i = 0; i < 42; ++i)
        tooManyCodes += ",003";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "Level 1 cannot be dealt: board shape 0 does not exist (use 1 to 10)."},
        {easy.substr(0, 40), "Level 1 cannot be dealt: board shape 0 does not exist (use 1 to 10)."},
        {"\r\n" + easy, "Level 1 cannot be dealt: board shape 0 does not exist (use 1 to 10)."},
        {"L001011" + easy.substr(7), "Level 1 cannot be dealt: board shape 11 does not exist (use 1 to 10)."},
        {"L001006,010" + easy.substr(11), "Level 1 cannot be dealt: pool type 10 does not exist (use 1 to 9)."},
        {"L001006,001,999" + easy.substr(15),
         "Level 1 cannot be dealt: position 999 is outside the board (columns 3 to 10, slots 0 to 5)."},
        {"L001006,001,003,   " + easy.substr(19), "'   ' is not a valid integer value."},
        {"\xEF\xBB\xBF" + easy, "'06,' is not a valid integer value."},
        {tooManyCodes + ",---\r\n" + easy, "Level line 1 has more than 41 position codes."},
        {"folder", "File access denied."},
        {"no map folder", "File not found."},
    };
    for (const auto& [bytes, message] : cases) {
        SCOPED_TRACE(message);
        GameFolder folder;
        if (bytes == "folder") {
            folder.Remove("map/level.ini");
            std::filesystem::create_directories(folder.Path() + "map/level.ini");
        } else if (bytes == "no map folder") {
            std::filesystem::remove_all(folder.Path() + "map");
        } else {
            folder.Write("map/level.ini", bytes);
        }
        ScriptedDialogs boxes;
        TForm1 form(boxes, folder.Path());
        int failures = 0;
        form.SetStartUpFailedHandler([&] { ++failures; });
        form.FormActivate();
        EXPECT_EQ(boxes.Texts("error"), std::vector<std::string>{message});
        EXPECT_TRUE(form.StartUpFailed());
        EXPECT_EQ(failures, 1);
        form.SpeedButton1Click();
        EXPECT_FALSE(form.GetBoard().InputEnabled);
    }
}

TEST(WindowErrors, AMissingHeaderPictureLeavesItsSlotEmpty)
{
    GameFolder folder;
    folder.Remove("tiles/0.jpg");
    ScriptedDialogs boxes;
    TForm1 form(boxes, folder.Path());
    form.FormActivate();
    ASSERT_EQ(boxes.Texts("error"), std::vector<std::string>{"Cannot open file " + folder.Path() + "tiles/0.jpg."});
    EXPECT_FALSE(form.StartUpFailed());
    for (int n = 2; n <= 9; ++n)
        EXPECT_TRUE(form.JPEGImage[static_cast<size_t>(n)]->Image().isNull()) << n;
    EXPECT_EQ(form.Label10->text(), "$0");
    EXPECT_EQ(form.GetBoard().CarsLeft, 8) << "the start-up went on";
    EXPECT_EQ(form.Pages->currentWidget(), form.TabSheet1);
}

// A handler that meets several failures shows them in the order they happened:
// the header refresh comes before the deal at the start-up.
TEST(WindowErrors, SeveralFailuresOfOneHandlerShowInTheOrderTheyHappened)
{
    const std::string refused = "Level 1 cannot be dealt: board shape 11 does not exist (use 1 to 10).";
    for (const bool levelBroken : {false, true}) {
        SCOPED_TRACE(levelBroken ? "the deal refused" : "the background damaged");
        GameFolder folder;
        folder.Remove("tiles/0.jpg");
        if (levelBroken)
            folder.Write("map/level.ini", "L001011" + EasyLevels().substr(7));
        else
            folder.Write("map/map6.bmp", "BM this is no bitmap");
        ScriptedDialogs boxes;
        TForm1 form(boxes, folder.Path());
        form.FormActivate();
        EXPECT_EQ(boxes.Texts("error"), (std::vector<std::string>{"Cannot open file " + folder.Path() + "tiles/0.jpg.",
                                                                  levelBroken ? refused : "Bitmap image is not valid."}));
        EXPECT_EQ(form.StartUpFailed(), levelBroken);
    }
}

TEST(WindowErrors, ADamagedHeaderPictureOrAMissingTilesFolderIsReportedAndTheGameGoesOn)
{
    const std::string tile = std::string(VZ_BUILD_DIR) + "/tiles/0.jpg";
    std::ifstream in(tile, std::ios::binary);
    const std::string jpeg((std::istreambuf_iterator<char>(in)), {});
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "Empty input file."},
        {jpeg.substr(0, jpeg.size() / 2), "Premature end of JPEG file."},
        {"\xFF\xD8", "Premature end of JPEG file."},
        {"BM a bitmap renamed", "Not a JPEG file: starts with 0x42 0x4d."},
        {"no tiles folder", "Cannot open file {folder}tiles/0.jpg."},
    };
    for (auto [bytes, message] : cases) {
        GameFolder folder;
        if (bytes == "no tiles folder")
            std::filesystem::remove_all(folder.Path() + "tiles");
        else
            folder.Write("tiles/0.jpg", bytes);
        if (message.find("{folder}") != std::string::npos)
            message.replace(message.find("{folder}"), 8, folder.Path());
        SCOPED_TRACE(message);
        ScriptedDialogs boxes;
        TForm1 form(boxes, folder.Path());
        form.FormActivate();
        EXPECT_EQ(boxes.Texts("error"), std::vector<std::string>{message});
        EXPECT_FALSE(form.StartUpFailed());
        EXPECT_EQ(form.GetBoard().CarsLeft, 8) << "the start-up went on";
        EXPECT_TRUE(form.JPEGImage[2]->Image().isNull());
        form.SpeedButton1Click();
        EXPECT_TRUE(form.GetBoard().InputEnabled);
    }
}

TEST(WindowBackgrounds, EachShapeShowsItsOwnFileAtEveryDeal)
{
    // Level 1 on shape 10, the others on shape 6. Shape 10 reads map10.bmp; shape
    // 1 would read map1.bmp, never map01.bmp.
    GameFolder folder;
    std::string levels = LevelLine(1, 10, 3);
    for (int level = 2; level <= LevelCount; ++level)
        levels += LevelLine(level, 6, 3);
    folder.Write("map/level.ini", levels);
    auto colour = [](int32_t x, int32_t y) { return Argb(0, uint32_t(x * 8), uint32_t(y * 7), 200); };
    const std::vector<uint8_t> small = fixture::BitmapBytes(30, 20, 24, colour);
    folder.Write("map/map10.bmp", std::string(small.begin(), small.end()));
    folder.Write("map/map06.bmp", std::string(small.begin(), small.end()));
    ScriptedDialogs boxes;
    TForm1 form(boxes, folder.Path());
    form.FormActivate();
    const Picture& frame = form.PlayViewLayers().Frame();
    EXPECT_EQ(frame.At(3, 2), Rgb(24, 14, 200));
    EXPECT_EQ(frame.At(30, 5), Rgb(0, 0, 0)) << "black around a smaller picture";

    form.SpinEdit2->setValue(2);
    form.SpeedButton1Click();
    EXPECT_EQ(form.PlayViewLayers().Background().Width, 768) << "no map6.bmp: black";
    EXPECT_EQ(frame.At(3, 2), Rgb(0, 0, 0));

    // Read again at every deal: a larger picture, written since, is clipped.
    const Picture big = fixture::PatternBackground(800, 500);
    const std::vector<uint8_t> bytes =
        fixture::BitmapBytes(800, 500, 32, [&](int32_t x, int32_t y) { return big.At(x, y); });
    folder.Write("map/map6.bmp", std::string(bytes.begin(), bytes.end()));
    form.SpeedButton1Click();
    EXPECT_EQ(frame.At(0, 0), big.At(0, 0));
    EXPECT_EQ(frame.At(767, 479), big.At(767, 479));
    EXPECT_TRUE(boxes.Shown.empty());
}

TEST(WindowErrors, ADamagedBackgroundIsReportedAndTheBoardDealtOverBlack)
{
    GameFolder folder;
    folder.Write("map/map6.bmp", "BM this is no bitmap");
    ScriptedDialogs boxes;
    TForm1 form(boxes, folder.Path());
    form.FormActivate();
    EXPECT_EQ(boxes.Texts("error"), std::vector<std::string>{"Bitmap image is not valid."});
    EXPECT_FALSE(form.StartUpFailed());
    EXPECT_EQ(form.GetBoard().CarsLeft, 8);
    const Picture& frame = form.PlayViewLayers().Frame();
    ASSERT_EQ(frame.Width, 768);
    EXPECT_EQ(frame.At(2, 2), Rgb(0, 0, 0));
    EXPECT_EQ(frame.At(765, 477), Rgb(0, 0, 0));
}

TEST(WindowErrors, EachKindOfBadBackgroundGivesOneMessageAtTheDeal)
{
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"", {"Bitmap image is not valid."}},
        {png, {"Bitmap image is not valid."}},
        {"folder", {}}, // no file of that name: the board stands on black, as without one
        {"missing", {}},
    };
    for (const auto& [bytes, messages] : cases) {
        SCOPED_TRACE(bytes);
        GameFolder folder;
        if (bytes == "folder")
            std::filesystem::create_directories(folder.Path() + "map/map6.bmp");
        else if (bytes != "missing")
            folder.Write("map/map6.bmp", bytes);
        ScriptedDialogs boxes;
        TForm1 form(boxes, folder.Path());
        form.FormActivate();
        EXPECT_EQ(boxes.Texts("error"), messages);
        EXPECT_EQ(form.GetBoard().CarsLeft, 8);
        EXPECT_EQ(form.PlayViewLayers().Frame().At(2, 2), Rgb(0, 0, 0));
        boxes.Shown.clear();
        form.SpeedButton1Click();
        EXPECT_EQ(boxes.Texts("error"), messages) << "again at every deal";
        EXPECT_TRUE(form.GetBoard().InputEnabled);
    }
}

TEST(WindowErrors, ABrokenLevelIsShownAndTheBoardInPlayStays)
{
    GameFolder folder;
    std::string levels = EasyLevels();
    // Level 2's row ends in column 4, which is not shape 6's first column.
    const std::string broken = LevelLine(2, 6, 4);
    levels.replace(broken.size(), broken.size(), broken);
    folder.Write("map/level.ini", levels);
    ScriptedDialogs boxes;
    TForm1 form(boxes, folder.Path());
    form.FormActivate();
    ASSERT_TRUE(boxes.Shown.empty());
    const BayGrid<Cell> dealt = form.GetBoard().Cells;
    form.SpinEdit2->setValue(2);
    form.SpeedButton1Click();
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_EQ(boxes.Shown[0].Kind, "error");
    EXPECT_FALSE(boxes.Shown[0].Text.empty());
    EXPECT_EQ(boxes.Shown[0].Text.back(), '.');
    EXPECT_TRUE(form.GetBoard().Cells == dealt);
    EXPECT_EQ(form.Pages->currentWidget(), form.TabSheet1);
    EXPECT_FALSE(form.GetBoard().InputEnabled);
}

// A mouse that reports hundreds of moves a second: the play view reaches the
// screen once a frame, with only the bays that changed, and ends up current.
TEST_F(WindowTest, PointerMovesWithinAFrameShareOneRepaintOfTheirBays)
{
    StartGame();
    Form->show();
    Form->B_GAMEClick();
    QApplication::processEvents();
    struct Paints : QObject {
        std::vector<QRect> Regions; // bounding rectangle of each paint
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                Regions.push_back(static_cast<QPaintEvent*>(e)->region().boundingRect());
            return false;
        }
    } paints;
    Form->Image321->installEventFilter(&paints);
    QTest::qWait(2 * LayerSceneWidget::FrameMilliseconds); // the page is shown; a frame passes
    paints.Regions.clear();
    const QPoint first = BayCentre(3, 11), second = BayCentre(3, 12);
    for (int n = 0; n < 20; ++n) {
        const QPoint p = n % 2 == 0 ? first : second;
        Form->Image321MouseMove(p.x(), p.y());
        QApplication::processEvents();
    }
    QTest::qWait(3 * LayerSceneWidget::FrameMilliseconds);
    ASSERT_FALSE(paints.Regions.empty());
    EXPECT_LE(paints.Regions.size(), 10u) << "twenty moves within a frame or two";
    const QRect bays = QRect(BayRect(3, 11).Left, BayRect(3, 11).Top, 96, 48) |
                       QRect(BayRect(3, 12).Left, BayRect(3, 12).Top, 96, 48) |
                       QRect(StartRect.Left, StartRect.Top, 96, 48);
    for (const QRect& r : paints.Regions)
        EXPECT_TRUE(bays.contains(r)) << "a repaint beyond the marker's bays";
    EXPECT_EQ(Form->PlayViewLayers().Layer(HoverMarkerLayer).Location, BayRect(3, 12));
    Form->Image321->removeEventFilter(&paints);
}

TEST_F(WindowTest, HeaderGradientRowsAndThePreviewPlaceholder)
{
    StartGame();
    Form->show();
    QApplication::processEvents();
    const QImage header = Form->Panel1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(header.size(), QSize(792, 72));
    // x = 620 lies between the preview box and the labels on every row.
    auto row = [&](int gradientRow) { return QColor(header.pixel(620, 1 + gradientRow)); };
    EXPECT_EQ(row(0), QColor(0xC1, 0x00, 0x00));
    EXPECT_EQ(row(17), QColor(223, 51, 53));
    EXPECT_EQ(row(34), QColor(253, 102, 107));
    EXPECT_EQ(row(35), QColor(0xFF, 0x6A, 0x6F));
    EXPECT_EQ(row(36), QColor(253, 102, 107));
    EXPECT_EQ(row(53), QColor(223, 51, 53));
    EXPECT_EQ(row(69), QColor(194, 3, 3));
    EXPECT_EQ(QColor(header.pixel(620, 0)), QColor(Qt::white)) << "the raised bevel";
    for (int x : {2, 3, 625, 650, 700, 788}) {
        EXPECT_EQ(QColor(header.pixel(x, 36)), QColor(0xFF, 0x6A, 0x6F)) << x;
    }

    const QImage preview = Form->Image322->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage placeholder = ToImage(BuiltInCatalogue()[PlaceholderPicture]).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(preview.size(), QSize(74, 48));
    EXPECT_EQ(preview, placeholder);
}
