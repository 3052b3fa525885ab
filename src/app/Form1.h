#pragma once
#include "app/Dialogs.h"
#include "app/Profile.h"
#include "app/ProfileFile.h"
#include "app/LayerSceneWidget.h"
#include "app/Widgets.h"
#include "deal/Generator.h"
#include "levels/LevelFile.h"
#include "model/Board.h"
#include "view/LayerScene.h"
#include "view/BoardScene.h"

#include <QStackedWidget>
#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QLabel;

constexpr int ClientWidth = 792;
constexpr int ClientHeight = 573;
constexpr int PageControlHeight = 501;

// The main window. It owns every piece of game state from start-up to the end of
// the process; each widget event has one handler named after the widget. The
// handlers live in Form1.cpp, the widgets' layout in FormLayout.cpp.
class TForm1 : public QWidget {
public:
    // `programFolder` ends with a separator; every data file is found below it.
    TForm1(Dialogs& dialogs, std::string programFolder, QWidget* parent = nullptr);

    // Called when the start-up could not finish (the game must not be played then).
    void SetStartUpFailedHandler(std::function<void()> handler) { OnStartUpFailed = std::move(handler); }

    // Event handlers.
    void FormActivate();
    // Every key release of the window, once, before the focused widget sees it.
    virtual void FormKeyUp(int key);
    void B_MENUClick();
    void B_GAMEClick();
    void B_STAGESClick();
    void Label2Click();
    void Label3Click();
    void Label4Click();
    void Label5Click();
    void Label6Click();
    void Label7Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void ColorButton1Click();
    void ColorButton2Click();
    void ColorButton3Click();
    void ColorButton4Click();
    void ColorButton5Click();
    void ColorButton6Click();
    void ColorButton7Click();
    void ColorButton8Click();
    void Image321MouseUp(int x, int y);
    void Image321MouseMove(int x, int y);

    // The larger steps.
    bool SelectorKeuze();
    bool ToonItems();
    void PayWin();

    // What a player can see of the state.
    const Board& GetBoard() const { return GameBoard; }
    const Profile& GetProfile() const { return PlayerProfile; }
    ::GameMode GetGameMode() const { return GameMode; }
    int32_t GetCurrentLevel() const { return CurrentLevel; }
    const std::string& GetProgramFolder() const { return ProgramFolder; }
    bool HasStartedUp() const { return Activated; }
    bool StartUpFailed() const { return Failed; }
    const LayerScene& PlayViewLayers() const { return PlayLayers; }
    const LayerScene& PreviewBoxLayers() const { return PreviewLayers; }

    // The widgets, by their designer names.
    BevelPanel* Panel1;
    GradientPanel* VrGradient1;
    EffectLabel* fcLabel1;
    LayerSceneWidget* Image322;
    CounterLabel* Label1;
    QLabel* Label10;
    ShapeButton* B_MENU;
    ShapeButton* B_GAME;
    ShapeButton* B_STAGES;
    QWidget* PageControl1;
    QStackedWidget* Pages;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    BevelPanel* Panel2;
    LayerSceneWidget* Image321;
    FrameShape* Shape1;
    FrameShape* Shape2;
    QLabel* Label8;
    QLabel* Label9;
    SpinEdit* SpinEdit2;
    SpinEdit* SpinEdit3;
    SpeedButton* SpeedButton1;
    SpeedButton* SpeedButton2;
    SpeedButton* SpeedButton3;
    SpeedButton* SpeedButton4;
    EffectLabel* fcLabel2;
    // JPEGImage1 … JPEGImage18 by number (entry 0 unused).
    std::array<PictureBox*, 19> JPEGImage{};
    // Label2 … Label7, the mode labels, by game mode 1 … 6 (entry 0 unused).
    std::array<ClickLabel*, 7> ModeLabel{};
    // Label11 … Label34, the shop texts, by number (entries below 11 unused).
    std::array<QLabel*, 35> ShopLabel{};
    // ColorButton1 … ColorButton8 by number (entry 0 unused).
    std::array<ColorButton*, 9> ColorButtonN{};

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend struct FormProbe; // the window tests

    // FormLayout.cpp
    void BuildHeader();
    void BuildPages();
    void BuildMenuPage(const Picture& page);
    void BuildGamePage();
    void BuildStagesPage(const std::vector<Picture>& shopPictures);
    void LayOutClient();

    // The start-up sequence; the failure that stopped it comes back.
    GameError StartUp();
    void ShowPage(QWidget* page);
    void ChooseMode(::GameMode mode);
    // Deals the level, then shows map/mapN.bmp of its shape behind the board; a
    // level that cannot be dealt comes back refused, and a background that could
    // not be read is noted, the board dealt over black.
    GameError Deal(int32_t level);
    // The header refresh; the first picture that could not be read comes back.
    GameError RefreshItems();
    void BuyOrSell(ShopItem item);
    void ApplyLoadedSpins(const LoadedSpins& spins);
    // The file Load Profile reads.
    std::string ProfilePath() const;
    // Save Profile and SAVE & EXIT: the profile written where it lives, a file
    // there that this session has not seen kept beside it first.
    GameError SaveProfile();

    // Every handler runs its work here. Work that can fail returns the failure
    // that ended it, if any; failures after which it went on are noted as they
    // come. All are shown, in order, each in an error box, when the handler ends.
    template <class Work> void Guarded(Work&& work);
    void Note(GameError error);
    void ShowPendingErrors();
    void PrepareCarsLeftLabel();
    void ShowCarsLeftLabel(int32_t carsLeft);

    Dialogs& Boxes;
    const std::string FolderOfProgram;
    std::string ProgramFolder;
    LevelTable Table;
    CarPool Pool;
    Board GameBoard;
    Profile PlayerProfile;
    ::GameMode GameMode = ::GameMode::NormalChampionship;
    int32_t CurrentLevel = 1;
    LayerScene PlayLayers;    // what Image321 shows
    LayerScene PreviewLayers; // what Image322 shows
    BoardScene Scene;
    bool Activated = false;
    bool ShownOnce = false;
    bool Failed = false;
    // Failures noted while a handler runs (a damaged background) wait for its end.
    std::vector<std::string> PendingErrors;
    // The profile file as this session last loaded it whole or saved it.
    std::optional<FileIdentity> SeenProfile;
    std::vector<QString> CarsLeftTexts; // by count
    std::vector<QSize> CarsLeftSizes;   // Label1's auto size, by count
    std::function<void()> OnStartUpFailed;
};
