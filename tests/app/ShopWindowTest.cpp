// The window's shop buttons, game keys, previews and profile buttons.
#include "FormHarness.h"
#include "ReadFile.h"
#include "app/ProfileFile.h"
#include "core/ProfileFolder.h"
#include "view/ImageCatalogue.h"

#include <filesystem>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTest>

namespace {

// Every row: column 3 holds two cars, the lower one hidden until the top one goes.
std::string StackedLevels()
{
    std::string text;
    for (int level = 1; level <= LevelCount; ++level) {
        char line[80];
        std::snprintf(line, sizeof line, "L%03d006,001,103,003,---,", level);
        std::string l(line);
        l.resize(64, ' ');
        text += l + "\r\n";
    }
    return text;
}

} // namespace

class ShopWindowTest : public WindowTest {
protected:
    void SetUp() override { StartGame(); }

    void Give(int32_t money)
    {
        TheProfile().Money = money;
        Form->ToonItems();
    }

    std::string SlotSource(int jpegImage) const { return Form->JPEGImage[static_cast<size_t>(jpegImage)]->Source(); }
    std::string Tile(int n) const { return Folder.Path() + "tiles/" + std::to_string(n) + ".jpg"; }
};

TEST_F(ShopWindowTest, BuyingNeedsTheWholePrice)
{
    Give(199);
    QTest::mouseClick(Form->ColorButtonN[5], Qt::LeftButton); // One-step UNDO, $200
    EXPECT_EQ(Boxes.Texts("information"), std::vector<std::string>{"Sorry, you cannot buy this (too less money)"});
    EXPECT_FALSE(TheProfile().Owns(ShopItem::Undo));
    EXPECT_EQ(TheProfile().Money, 199);
    EXPECT_EQ(Form->ColorButtonN[5]->text(), "BUY");

    Boxes.Shown.clear();
    Give(200);
    QTest::mouseClick(Form->ColorButtonN[5], Qt::LeftButton);
    EXPECT_TRUE(Boxes.Shown.empty()) << "a purchase shows no message";
    EXPECT_TRUE(TheProfile().Owns(ShopItem::Undo));
    EXPECT_EQ(TheProfile().Money, 0);
    EXPECT_EQ(Form->ColorButtonN[5]->text(), "SELL");
    EXPECT_EQ(SlotSource(2), Tile(1));
    EXPECT_EQ(Text(Form->Label10), "$0");
}

TEST_F(ShopWindowTest, SellingAsksAndPaysHalfThePrice)
{
    Give(8000);
    Form->ColorButton4Click(); // AUTO-PREVIEW under occupied places
    ASSERT_TRUE(TheProfile().Owns(ShopItem::AutoPreviewOccupied));
    EXPECT_EQ(SlotSource(6), Tile(5));

    Boxes.Answers = {false};
    Form->ColorButton4Click();
    EXPECT_EQ(Boxes.Texts("confirm"), std::vector<std::string>{"Do you want sell this option? (for $4000)"});
    EXPECT_TRUE(TheProfile().Owns(ShopItem::AutoPreviewOccupied)) << "No keeps the item";
    EXPECT_EQ(TheProfile().Money, 0);

    Boxes.Answers = {true};
    Form->ColorButton4Click();
    EXPECT_FALSE(TheProfile().Owns(ShopItem::AutoPreviewOccupied));
    EXPECT_EQ(TheProfile().Money, 4000);
    EXPECT_EQ(Form->ColorButtonN[4]->text(), "BUY");
    EXPECT_EQ(SlotSource(6), Tile(0));
    EXPECT_EQ(Text(Form->Label10), "$4000");
}

// The real question box, answered by the keys a player presses after a click:
// the SELL button keeps the focus, so its second Space or Return lands in the box.
TEST(ShopQuestion, KeysPressedTwiceNeverSell)
{
    GameFolder folder;
    MessageBoxDialogs boxes;
    TForm1 form(boxes, folder.Path());
    boxes.SetParent(&form);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    FormProbe::ProfileOf(form).Money = 215;
    form.ToonItems();
    form.B_STAGESClick();
    ColorButton* undo = form.ColorButtonN[5];
    QTest::mouseClick(undo, Qt::LeftButton);
    ASSERT_TRUE(FormProbe::ProfileOf(form).Owns(ShopItem::Undo));
    ASSERT_TRUE(undo->hasFocus()) << "a clicked button keeps the focus";

    // A key pressed on the focused SELL button, then the next one in the box it opened.
    struct Answer {
        Qt::Key OnButton, InBox; // Key_Y: the player clicks Yes
        bool Sells;
        const char* What;
    };
    for (const Answer& answer : {Answer{Qt::Key_Space, Qt::Key_Space, false, "Space, Space"},
                                 Answer{Qt::Key_Return, Qt::Key_Return, false, "Return, Return"},
                                 Answer{Qt::Key_Space, Qt::Key_Escape, false, "Space, Escape"},
                                 Answer{Qt::Key_Return, Qt::Key_Y, true, "Return, a click on Yes"}}) {
        SCOPED_TRACE(answer.What);
        std::string asked;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            asked = box->windowTitle().toStdString() + ": " + box->text().toStdString();
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
            EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));
            if (answer.InBox == Qt::Key_Y)
                box->button(QMessageBox::Yes)->click();
            else
                QTest::keyClick(box->focusWidget(), answer.InBox);
        });
        poll.start(5);
        QTest::keyClick(undo, answer.OnButton);
        form.activateWindow(); // as a window manager does once the box is gone
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        EXPECT_TRUE(undo->hasFocus());
        EXPECT_EQ(asked, "Confirm: Do you want sell this option? (for $100)");
        EXPECT_EQ(FormProbe::ProfileOf(form).Owns(ShopItem::Undo), !answer.Sells);
        EXPECT_EQ(FormProbe::ProfileOf(form).Money, answer.Sells ? 115 : 15);
    }
}

TEST_F(ShopWindowTest, TheHeaderShowsOwnedItemsInItsOwnOrder)
{
    Give(1000000);
    Form->ColorButton1Click();
    Form->ColorButton2Click();
    Form->ColorButton3Click();
    Form->ColorButton4Click();
    Form->ColorButton5Click();
    Form->ColorButton6Click();
    Form->ColorButton7Click();
    Form->ColorButton8Click();
    const int files[8] = {1, 2, 4, 3, 5, 6, 7, 8};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(SlotSource(i + 2), Tile(files[i])) << "JPEGImage" << i + 2;
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(Form->ColorButtonN[static_cast<size_t>(n)]->text(), "SELL");
    EXPECT_EQ(TheProfile().Money, 1000000 - 55200);
}

TEST_F(ShopWindowTest, AMissingItemPictureIsReportedAfterThePurchase)
{
    Give(20000);
    Folder.Remove("tiles/8.jpg");
    Form->ColorButton8Click();
    EXPECT_EQ(Boxes.Texts("error"), std::vector<std::string>{"Cannot open file " + Tile(8) + "."});
    EXPECT_TRUE(TheProfile().Owns(ShopItem::GoldMedal));
    EXPECT_EQ(TheProfile().Money, 0);
    EXPECT_TRUE(Form->JPEGImage[9]->Image().isNull());
    EXPECT_EQ(Form->ColorButtonN[8]->text(), "SELL");
}

TEST_F(ShopWindowTest, BackspaceTakesBackAPairOnlyWithUndoOnTheGamePage)
{
    Form->B_GAMEClick();
    ClickOn(3, 11);
    const CarId car = TheBoard().Cells(3, 11).Slot[0];
    int32_t partner = 0;
    for (int32_t row = 11; row <= 18 && partner == 0; ++row)
        if (row != 11 && TheBoard().Cells(3, row).Slot[0] == car)
            partner = row;
    ASSERT_NE(partner, 0);
    ClickOn(3, partner);
    ASSERT_EQ(TheBoard().CarsLeft, 6);

    Form->FormKeyUp(KeyBackspace);
    EXPECT_EQ(TheBoard().CarsLeft, 6) << "undo not bought";

    Give(200);
    Form->ColorButton5Click();
    Form->B_MENUClick();
    Form->FormKeyUp(KeyBackspace);
    EXPECT_EQ(TheBoard().CarsLeft, 6) << "not on the GAME page";

    Form->B_GAMEClick();
    Form->FormKeyUp(KeyBackspace);
    EXPECT_EQ(TheBoard().CarsLeft, 8);
    EXPECT_EQ(TheBoard().Cells(3, 11).Slot[0], car);
    EXPECT_EQ(TheBoard().Cells(3, partner).Slot[0], car);
    EXPECT_EQ(Text(Form->Label1), "8 cars left");
    EXPECT_TRUE(TheBoard().InputEnabled);
}

TEST_F(ShopWindowTest, SpaceAndThePointerPreviewTheHiddenCar)
{
    Folder.Write("map/level.ini", StackedLevels());
    StartGame();
    Form->B_GAMEClick();
    const Catalogue& pictures = BuiltInCatalogue();
    const Picture* placeholder = &pictures[PlaceholderPicture];
    auto previewed = [&] { return Form->PreviewBoxLayers().Layer(0).Image; };
    const CarId hidden = TheBoard().Cells(3, 12).Slot[1];
    ASSERT_NE(hidden, 0);

    const QPoint over = BayCentre(3, 12);
    Form->Image321MouseMove(over.x(), over.y());
    EXPECT_EQ(TheBoard().HoverBay, (BayPos{3, 12}));
    Form->FormKeyUp(KeySpace);
    EXPECT_EQ(previewed(), placeholder) << "no preview bought";

    Give(7000);
    Form->ColorButton3Click(); // PREVIEW under occupied places
    Form->B_GAMEClick();
    Form->FormKeyUp(KeySpace);
    EXPECT_EQ(previewed(), &pictures[static_cast<size_t>(hidden)]);

    // Off the grid: the preview stays as it was.
    Form->Image321MouseMove(2, 2);
    EXPECT_FALSE(InsideShape(TheBoard(), TheBoard().HoverBay));
    const CarId other = TheBoard().Cells(3, 14).Slot[1];
    Form->FormKeyUp(KeySpace);
    EXPECT_EQ(previewed(), &pictures[static_cast<size_t>(hidden)]);

    Give(8000);
    Form->ColorButton4Click(); // AUTO-PREVIEW under occupied places
    Form->B_GAMEClick();
    const QPoint next = BayCentre(3, 14);
    Form->Image321MouseMove(next.x(), next.y());
    EXPECT_EQ(previewed(), &pictures[static_cast<size_t>(other)]);
}

TEST_F(ShopWindowTest, SaveAndLoadBringBackTheProfileButNotTheBoard)
{
    Give(20200);
    Form->ColorButton5Click();
    Form->ColorButton8Click();
    Give(9999999);
    TheProfile().UnlockedNormal = 12;
    TheProfile().UnlockedAdvanced = 7;
    Form->SpinEdit2->setMaximum(12);
    Form->SpinEdit2->setValue(9);
    Form->SpinEdit3->setMaximum(7);
    Form->SpinEdit3->setValue(5);
    const Profile saved = TheProfile();

    QTest::mouseClick(Form->SpeedButton3, Qt::LeftButton);
    EXPECT_EQ(Boxes.Texts("information"), std::vector<std::string>{"SAVED"});
    EXPECT_EQ(ReadFile(Folder.Path() + "vrz.sav"), FormatProfileLine(saved, SpinValues{9, 5}) + "\n");

    // A fresh start holds the start-up profile until Load Profile.
    StartGame();
    Form->Label5Click();
    Form->B_GAMEClick();
    ClickOn(3, 11);
    const BayGrid<Cell> board = TheBoard().Cells;
    Boxes.Shown.clear();
    QTest::mouseClick(Form->SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(Boxes.Texts("information"), std::vector<std::string>{"Profile loaded"});
    EXPECT_EQ(TheProfile().Money, 9999999);
    EXPECT_TRUE(TheProfile().Owns(ShopItem::Undo));
    EXPECT_TRUE(TheProfile().Owns(ShopItem::GoldMedal));
    EXPECT_FALSE(TheProfile().Owns(ShopItem::SilverMedal));
    EXPECT_EQ(Form->SpinEdit2->maximum(), 12);
    EXPECT_EQ(Form->SpinEdit2->value(), 9);
    EXPECT_EQ(Form->SpinEdit3->maximum(), 7);
    EXPECT_EQ(Form->SpinEdit3->value(), 5);
    EXPECT_EQ(Text(Form->Label10), "$9999999");
    EXPECT_EQ(SlotSource(2), Tile(1));
    EXPECT_EQ(SlotSource(9), Tile(8));
    EXPECT_EQ(Form->ColorButtonN[8]->text(), "SELL");
    // Loading touches neither the game nor the page.
    EXPECT_TRUE(TheBoard().Cells == board);
    EXPECT_TRUE(TheBoard().CarSelected);
    EXPECT_EQ(Form->Pages->currentWidget(), Form->TabSheet2);
    EXPECT_EQ(Form->GetGameMode(), GameMode::FreeNormal);
    EXPECT_EQ(Form->GetCurrentLevel(), 1);
}

// The slip: a new session saves before it loads. The profile it would write over
// is kept as vrz.sav.bak; saves over the session's own save or its load keep none.
TEST_F(ShopWindowTest, ASaveBeforeALoadKeepsTheProfileItReplaces)
{
    const std::string path = Folder.Path() + "vrz.sav", backup = path + ".bak";
    Give(5000);
    Form->SpeedButton3Click();
    const std::string progress = ReadFile(path);
    EXPECT_FALSE(std::filesystem::exists(backup)) << "nothing was replaced";

    StartGame();
    Form->SpeedButton4Click(); // SAVE & EXIT at once: a $0 profile
    EXPECT_EQ(ReadFile(backup), progress);
    const std::string slip = ReadFile(path);
    EXPECT_NE(slip, progress);
    Give(10);
    Form->SpeedButton3Click();
    EXPECT_EQ(ReadFile(backup), progress) << "a save over the session's own save keeps nothing";

    // Load the profile back, play on and save: the loaded file needs no copy.
    std::filesystem::copy_file(backup, path, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(backup);
    StartGame();
    Form->SpeedButton2Click();
    ASSERT_EQ(TheProfile().Money, 5000);
    Give(5105);
    Form->SpeedButton3Click();
    EXPECT_FALSE(std::filesystem::exists(backup));
    EXPECT_EQ(Boxes.Texts("error"), std::vector<std::string>{});
}

// An older install kept vrz.sav beside the program; the installed game keeps it
// in the data folder. Load finds the old one until the data folder has its own.
TEST_F(ShopWindowTest, AnInstalledGameLoadsTheProfileAnOlderInstallKeptBesideIt)
{
    const std::string data = Folder.Path() + "data/";
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    const bool hadData = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data));
    Folder.Write(InstalledMarker, "");
    Profile old;
    old.Money = 777;
    Folder.Write("vrz.sav", FormatProfileLine(old, SpinValues{2, 1}) + "\n");

    StartGame();
    Form->SpeedButton2Click();
    EXPECT_EQ(TheProfile().Money, 777);
    Give(888);
    Form->SpeedButton3Click();
    EXPECT_EQ(ReadFile(data + "vroomzle/vrz.sav").substr(8, 7), FormatProfileLine(TheProfile(), {}).substr(8, 7));
    EXPECT_EQ(ReadFile(Folder.Path() + "vrz.sav"), FormatProfileLine(old, SpinValues{2, 1}) + "\n");
    StartGame();
    Form->SpeedButton2Click();
    EXPECT_EQ(TheProfile().Money, 888) << "the data folder's own profile comes first";
    EXPECT_EQ(Boxes.Texts("error"), std::vector<std::string>{});

    if (hadData)
        qputenv("XDG_DATA_HOME", oldData);
    else
        qunsetenv("XDG_DATA_HOME");
}

TEST_F(ShopWindowTest, LoadFailuresKeepWhatWasNotRead)
{
    // A number typed and not yet clamped stays as typed.
    Form->SpinEdit2->findChild<QLineEdit*>()->setText("75");
    Form->SpeedButton2Click();
    EXPECT_EQ(Boxes.Texts("error"), std::vector<std::string>{"File not found."});
    EXPECT_EQ(TheProfile().Money, 0);
    EXPECT_EQ(Form->SpinEdit2->maximum(), 2);
    EXPECT_EQ(Form->SpinEdit2->text(), "75");
    Form->SpinEdit2->setValue(2);

    // A saved line with a foreign character at 0-based `at`, loaded; the errors shown.
    auto loadDamaged = [&](const Profile& saved, SpinValues spins, size_t at) {
        std::string line = FormatProfileLine(saved, spins);
        line[at] = 'x';
        Folder.Write("vrz.sav", line + "\n");
        Boxes.Shown.clear();
        Form->SpeedButton2Click();
        return Boxes.Texts("error");
    };
    const std::vector<std::string> damaged{"'x' is not a valid integer value."};

    // The unlocked levels are read and the maxima follow; the values, not read, stay.
    Profile low;
    low.UnlockedNormal = 1;
    EXPECT_EQ(loadDamaged(low, SpinValues{1, 1}, 19), damaged);
    EXPECT_EQ(Form->SpinEdit2->maximum(), 1);
    EXPECT_EQ(Form->SpinEdit2->value(), 2) << "a new maximum does not clamp";
    TheProfile().UnlockedNormal = 2;
    Form->SpinEdit2->setMaximum(2);
    Form->SpinEdit2->setValue(1);

    // The money is read, then position 16 stops the load.
    Profile p;
    p.Money = 1234;
    p.UnlockedNormal = 9;
    EXPECT_EQ(loadDamaged(p, SpinValues{3, 1}, 15), damaged);
    EXPECT_TRUE(Boxes.Texts("information").empty()) << "no \"Profile loaded\"";
    EXPECT_EQ(TheProfile().Money, 1234);
    EXPECT_EQ(TheProfile().UnlockedNormal, 2);
    EXPECT_EQ(Form->SpinEdit2->maximum(), 2);
    EXPECT_EQ(Form->SpinEdit2->value(), 1);
    EXPECT_EQ(Text(Form->Label10), "$0") << "the refresh does not follow a failed load";
}

TEST_F(ShopWindowTest, SaveAndExitClosesOnlyAfterTheProfileIsWritten)
{
    Form->show();
    Give(300);
    // A folder in the way of the file: the save fails and the window stays.
    std::filesystem::create_directories(Folder.Path() + "vrz.sav/x");
    Form->SpeedButton4Click();
    EXPECT_EQ(Boxes.Texts("error"), std::vector<std::string>{"File access denied."});
    EXPECT_TRUE(Form->isVisible());
    Form->SpeedButton3Click();
    EXPECT_EQ(Boxes.Texts("information"), std::vector<std::string>{}) << "no SAVED after a failure";

    std::filesystem::remove_all(Folder.Path() + "vrz.sav");
    Boxes.Shown.clear();
    Form->SpeedButton4Click();
    EXPECT_TRUE(Boxes.Shown.empty()) << "SAVE & EXIT shows nothing";
    EXPECT_FALSE(Form->isVisible());
    SpinValues spins{1, 1};
    Profile p;
    p.Money = 300;
    EXPECT_EQ(ReadFile(Folder.Path() + "vrz.sav"), FormatProfileLine(p, spins) + "\n");
}
