// The main window's start-up and its event handlers. Each handler does the
// window's part of an event and hands the rest to the model, levels and view.
#include "app/Form1.h"

#include "app/KeyPreview.h"
#include "app/WindowDesign.h"
#include "core/ProfileFolder.h"
#include "core/Random.h"
#include "model/PlayRules.h"
#include "view/ImageCatalogue.h"
#include "view/PictureFiles.h"
#include "view/Projection.h"

#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <filesystem>
#include <future>
#include <malloc.h>
#include <system_error>
#include <type_traits>

TForm1::TForm1(Dialogs& dialogs, std::string programFolder, QWidget* parent)
    : QWidget(parent),
      Boxes(dialogs),
      FolderOfProgram(std::move(programFolder)),
      PlayLayers(PlayViewWidth, PlayViewHeight, Rgb(0, 0, 0)),
      // The preview box shows one car picture.
      PreviewLayers(CarRectWidth, CarRectHeight, Rgb(0xC1, 0xC1, 0xC1)),
      Scene(PlayLayers, PreviewLayers, BuiltInCatalogue())
{
    // A deal replaces megabyte picture buffers (the background, its opaque copy,
    // the decoded file). Served by mmap, they go back to the system when freed;
    // from the heap they would fragment it and the resident size would creep up
    // deal after deal, since glibc raises its mmap threshold after such frees.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    // The built-in JPEGs cost most of the start-up (the two-pass colour
    // quantisation has a large fixed cost even for the small shop pictures), so
    // they are decoded on other cores while the header is built and the fonts load.
    std::future<Picture> pageBackground = std::async(std::launch::async, [] { return BuiltInPicture(Artwork::PageBackground); });
    std::future<std::vector<Picture>> shopPictures = std::async(std::launch::async, [] {
        std::vector<Picture> pictures;
        for (const ShopPlace& place : ShopPlaces)
            pictures.push_back(BuiltInPicture(place.Art));
        return pictures;
    });
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral(" Vroomzle"));
    setFont(ArialFont(12));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    {
        const EmbeddedBytes icon = BuiltInArtwork(Artwork::Icon);
        QPixmap pixmap;
        if (pixmap.loadFromData(icon.Data, static_cast<uint>(icon.Size)))
            setWindowIcon(QIcon(pixmap));
    }

    BuildHeader();
    BuildPages();
    BuildMenuPage(pageBackground.get());
    BuildGamePage();
    BuildStagesPage(shopPictures.get());

    PlayLayers.SetRepaintCallback([this](const std::vector<Rect>& changed) { Image321->Repaint(changed); });
    PreviewLayers.SetRepaintCallback([this](const std::vector<Rect>& changed) { Image322->Repaint(changed); });
    Scene.SetCarsLeftSink([this](int32_t carsLeft) { ShowCarsLeftLabel(carsLeft); });
    InstallKeyPreview(*this, [this](int key) { FormKeyUp(key); });

    // Smaller, the header would leave the top: the pages keep their height.
    setMinimumSize(ClientWidth, ClientHeight);
    resize(ClientWidth, ClientHeight);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - QPoint(ClientWidth / 2, ClientHeight / 2));
    LayOutClient();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutClient();
}

void TForm1::PrepareCarsLeftLabel()
{
    // Room for every count a board can hold, so the lists never move.
    CarsLeftTexts.reserve(MostCars + 1);
    CarsLeftSizes.reserve(MostCars + 1);
    ShowCarsLeftLabel(0);
}

void TForm1::ShowCarsLeftLabel(int32_t carsLeft)
{
    // The texts and auto sizes are made up to the largest count seen. A deal
    // shows its board's largest count first and play only goes below it, so
    // taking a pair off or undoing it allocates nothing.
    if (carsLeft < 0 || size_t(carsLeft) >= CarsLeftTexts.capacity()) {
        const QString text = QString::fromStdString(CarsLeftText(carsLeft));
        Label1->SetText(text, Label1->MeasuredSize(text));
        return;
    }
    while (CarsLeftTexts.size() <= size_t(carsLeft)) {
        CarsLeftTexts.push_back(QString::fromStdString(CarsLeftText(int32_t(CarsLeftTexts.size()))));
        CarsLeftSizes.push_back(Label1->MeasuredSize(CarsLeftTexts.back()));
    }
    Label1->SetText(CarsLeftTexts[size_t(carsLeft)], CarsLeftSizes[size_t(carsLeft)]);
}

bool TForm1::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!ShownOnce) {
        ShownOnce = true;
        // Without a window manager the window may never be activated.
        QTimer::singleShot(0, this, [this] { FormActivate(); });
    }
}

template <class Work> void TForm1::Guarded(Work&& work)
{
    if (Failed)
        return;
    if constexpr (std::is_void_v<std::invoke_result_t<Work&>>)
        work();
    else
        Note(work());
    ShowPendingErrors();
}

void TForm1::Note(GameError error)
{
    if (error)
        PendingErrors.push_back(error.Message());
}

void TForm1::ShowPendingErrors()
{
    std::vector<std::string> errors;
    errors.swap(PendingErrors);
    for (const std::string& message : errors)
        Boxes.Error(message + ".");
}

void TForm1::FormActivate()
{
    if (Activated)
        return;
    Activated = true;
    if (GameError failure = StartUp()) {
        Failed = true;
        Note(std::move(failure));
    }
    ShowPendingErrors();
    if (Failed && OnStartUpFailed)
        OnStartUpFailed();
}

GameError TForm1::StartUp()
{
    GameBoard.InputEnabled = false;
    GameBoard.CarSelected = false;
    for (bool& owned : PlayerProfile.Owned)
        owned = false;
    SeedRandom();
    ProgramFolder = FolderOfProgram;
    // The pages have no tab row to hide.
    Scene.CreatePreviewLayer();
    if (GameError failure = LoadLevelTable(ProgramFolder, Table))
        return failure;
    Scene.CreatePlayLayers();
    PlayerProfile.Money = 0;
    // A missing or damaged tiles/N.jpg leaves only its header slot empty: the
    // game plays the same without it, so the start-up reports it and goes on.
    ToonItems();
    GameMode = ::GameMode::NormalChampionship;
    CurrentLevel = 1;
    PlayerProfile.UnlockedNormal = 2;
    PlayerProfile.UnlockedAdvanced = 2;
    SpinEdit2->setValue(1);
    SpinEdit3->setValue(1);
    SpinEdit2->setMaximum(PlayerProfile.UnlockedNormal);
    SpinEdit3->setMaximum(PlayerProfile.UnlockedAdvanced);
    if (GameError failure = Deal(CurrentLevel))
        return failure;
    ShowPage(TabSheet1);
    GameBoard.InputEnabled = false;
    // After the first frame: the player cannot reach the board sooner.
    QTimer::singleShot(0, this, [this] { Scene.PrepareAllPictures(); });
    return {};
}

GameError TForm1::Deal(int32_t level)
{
    const int32_t shapeId = Table.Level(level).ShapeId;
    DealTrace trace;
    // One bracket round the deal's two: the board and its background reach the
    // screen together, in one repaint.
    Scene.BeginUpdate();
    const bool dealt = InitMap(GameBoard, Scene, Pool, Table, level, shapeId, &trace);
    PictureRead background;
    if (dealt) {
        // A shape without its file plays over black; so does one whose file
        // cannot be read, which is reported: the board plays the same.
        const std::string path = ProgramFolder + "map/map" + std::to_string(shapeId) + ".bmp";
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            background = ReadBitmapFile(path);
        Scene.ShowBackground(std::move(background.Image));
    }
    Scene.EndUpdate();
    Scene.Changed();
    if (!dealt)
        return std::move(trace.Refusal);
    Note(std::move(background.Error));
    return {};
}

void TForm1::ShowPage(QWidget* page)
{
    // A page that becomes current hands the focus to its first control, and a
    // focused shop button clicks itself on Space, the GAME page's preview key.
    // So the window holds the focus on the SHOP page until the player gives it
    // to a button with Tab or a click; holding it, the window also gets it back
    // when it is activated again.
    if (page == TabSheet3 && Pages->currentWidget() != page)
        setFocus(Qt::OtherFocusReason);
    Pages->setCurrentWidget(page);
}

void TForm1::B_MENUClick()
{
    Guarded([&] {
        ShowPage(TabSheet1);
        GameBoard.InputEnabled = false;
    });
}

void TForm1::B_GAMEClick()
{
    Guarded([&] {
        ShowPage(TabSheet2);
        ResumeInput(GameBoard);
    });
}

void TForm1::B_STAGESClick()
{
    Guarded([&] {
        ShowPage(TabSheet3);
        GameBoard.InputEnabled = false;
    });
}

void TForm1::ChooseMode(::GameMode mode)
{
    Guarded([&] {
        GameMode = mode;
        SelectorKeuze();
    });
}

void TForm1::Label2Click() { ChooseMode(::GameMode::NormalChampionship); }
void TForm1::Label3Click() { ChooseMode(::GameMode::AdvancedChampionship); }
void TForm1::Label4Click() { ChooseMode(::GameMode::FreeEasy); }
void TForm1::Label5Click() { ChooseMode(::GameMode::FreeNormal); }
void TForm1::Label6Click() { ChooseMode(::GameMode::FreeAdvanced); }
void TForm1::Label7Click() { ChooseMode(::GameMode::FreeManiac); }

bool TForm1::SelectorKeuze()
{
    for (const GameModeInfo& info : GameModes)
        SetTextColour(ModeLabel[static_cast<size_t>(info.Mode)], GameMode == info.Mode ? ChosenModeColour : OtherModeColour);
    return true;
}

void TForm1::SpeedButton1Click()
{
    Guarded([&] {
        GameBoard.InputEnabled = false;
        // A number typed into a box is still as typed here (START takes no focus):
        // the box the mode reads clamps it into the levels unlocked, as when the
        // focus leaves it.
        const Championship track = ModeInfo(GameMode).Track;
        if (track != Championship::None)
            (track == Championship::Normal ? SpinEdit2 : SpinEdit3)->ClampTyped();
        const int32_t level = LevelForMode(GameMode, SpinEdit2->TypedNumber(), SpinEdit3->TypedNumber());
        // A level that cannot be dealt is refused before anything of the game in
        // play changes, the level it is paid for included.
        if (GameError refused = Deal(level))
            return refused;
        CurrentLevel = level;
        ShowPage(TabSheet2);
        return GameError();
    });
}

void TForm1::Image321MouseUp(int x, int y)
{
    Guarded([&] {
        const ClickReport report = ClickBay(GameBoard, Scene, BayAt(x, y));
        if (report.Won)
            PayWin();
    });
}

void TForm1::Image321MouseMove(int x, int y)
{
    Guarded([&] {
        PointerMoveBay(GameBoard, Scene, BayAt(x, y), PlayerProfile.Options());
    });
}

void TForm1::FormKeyUp(int key)
{
    Guarded([&] {
        GameKeyUp(GameBoard, Scene, key, Pages->currentWidget() == TabSheet2, PlayerProfile.Options());
    });
}

void TForm1::PayWin()
{
    const WinPayment pay = PayWinDecision(PlayerProfile, GameMode, CurrentLevel);
    SpinEdit2->setMaximum(PlayerProfile.UnlockedNormal);
    SpinEdit3->setMaximum(PlayerProfile.UnlockedAdvanced);
    // The boxes clamp what they are given.
    if (pay.MoveNormalSpin)
        SpinEdit2->setValue(pay.NormalSpinValue);
    if (pay.MoveAdvancedSpin)
        SpinEdit3->setValue(pay.AdvancedSpinValue);
    SetAutoSizedText(Label10, MoneyText(PlayerProfile.Money));
    Boxes.Information("CONGRATULATIONS!");
    ShowPage(TabSheet1);
}

bool TForm1::ToonItems()
{
    Note(RefreshItems());
    return true;
}

GameError TForm1::RefreshItems()
{
    // Every slot is refreshed even when one picture fails, and the first failure
    // comes back once the captions and the money label are right. Each file is
    // read once per refresh: the slots of items not owned share tiles/0.jpg.
    GameError failure;
    std::string loadedPath;
    PictureRead loaded;
    for (const ShopPlace& place : ShopPlaces) {
        const bool owned = PlayerProfile.Owns(place.Item);
        PictureBox* slot = JPEGImage[static_cast<size_t>(place.HeaderSlot)];
        const std::string path =
            ProgramFolder + "tiles/" + std::to_string(owned ? static_cast<int>(place.Item) : 0) + ".jpg";
        if (path != loadedPath) {
            loadedPath = path;
            loaded = ReadJpegFile(path);
        }
        if (!loaded.Error) {
            slot->SetPicture(loaded.Image, path);
        } else {
            slot->Clear();
            if (!failure)
                failure = loaded.Error;
        }
        ColorButtonN[static_cast<size_t>(place.Button)]->setText(owned ? QStringLiteral("SELL") : QStringLiteral("BUY"));
    }
    SetAutoSizedText(Label10, MoneyText(PlayerProfile.Money));
    return failure;
}

void TForm1::BuyOrSell(ShopItem item)
{
    Guarded([&] {
        switch (TryBuy(PlayerProfile, item)) {
        case ShopOutcome::TooLittleMoney:
            Boxes.Information(TooLittleMoneyText);
            break;
        case ShopOutcome::Bought:
            ToonItems();
            break;
        case ShopOutcome::SellAsked:
            if (Boxes.Confirm(SellQuestion(item))) {
                Sell(PlayerProfile, item);
                ToonItems();
            }
            break;
        }
    });
}

void TForm1::ColorButton1Click() { BuyOrSell(ItemOfColorButton(1)); }
void TForm1::ColorButton2Click() { BuyOrSell(ItemOfColorButton(2)); }
void TForm1::ColorButton3Click() { BuyOrSell(ItemOfColorButton(3)); }
void TForm1::ColorButton4Click() { BuyOrSell(ItemOfColorButton(4)); }
void TForm1::ColorButton5Click() { BuyOrSell(ItemOfColorButton(5)); }
void TForm1::ColorButton6Click() { BuyOrSell(ItemOfColorButton(6)); }
void TForm1::ColorButton7Click() { BuyOrSell(ItemOfColorButton(7)); }
void TForm1::ColorButton8Click() { BuyOrSell(ItemOfColorButton(8)); }

std::string TForm1::ProfilePath() const
{
    // No file at all (an installed game without a home) reads as a missing file.
    return ProfileToLoad(ProgramFolder, ProfileFolder(ProgramFolder));
}

GameError TForm1::SaveProfile()
{
    const std::string folder = ProfileFolder(ProgramFolder);
    if (GameError failure = MakeProfileFolder(folder))
        return failure;
    const std::string path = folder + "vrz.sav";
    const SpinValues spins{SpinEdit2->TypedNumber(), SpinEdit3->TypedNumber()};
    if (GameError failure = KeepUnseenProfile(path, SeenProfile, ProfileFileText(PlayerProfile, spins)))
        return failure;
    GameError failure = SaveProfileFile(path, PlayerProfile, spins);
    SeenProfile = failure ? std::nullopt : IdentityOf(path);
    return failure;
}

void TForm1::ApplyLoadedSpins(const LoadedSpins& spins)
{
    // The maxima follow the unlocked levels, read or not: a maximum that does not
    // change leaves its box alone, and only the values read are set.
    SpinEdit2->setMaximum(PlayerProfile.UnlockedNormal);
    SpinEdit3->setMaximum(PlayerProfile.UnlockedAdvanced);
    if (spins.Normal)
        SpinEdit2->setValue(*spins.Normal);
    if (spins.Advanced)
        SpinEdit3->setValue(*spins.Advanced);
}

void TForm1::SpeedButton2Click()
{
    Guarded([&] {
        LoadedSpins spins;
        const std::string path = ProfilePath();
        GameError failure = LoadProfileFile(path, PlayerProfile, spins);
        if (!failure)
            SeenProfile = IdentityOf(path);
        // The fields read before a damaged character keep their new values.
        ApplyLoadedSpins(spins);
        if (failure)
            return failure;
        // The header refresh; a picture it cannot read ends the load there.
        if (GameError refresh = RefreshItems())
            return refresh;
        Boxes.Information("Profile loaded");
        return GameError();
    });
}

void TForm1::SpeedButton3Click()
{
    Guarded([&] {
        if (GameError failure = SaveProfile())
            return failure;
        Boxes.Information("SAVED");
        return GameError();
    });
}

void TForm1::SpeedButton4Click()
{
    bool saved = false;
    Guarded([&] {
        GameError failure = SaveProfile();
        saved = !failure;
        return failure;
    });
    if (saved)
        close();
}
