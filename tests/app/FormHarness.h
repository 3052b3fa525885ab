#pragma once
// A program folder of its own for every window test, and a window playing in it.
#include "FormProbe.h"
#include "ScriptedDialogs.h"
#include "app/Form1.h"
#include "view/Projection.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// Levels whose rows hold a single car in the first column, so every car is free
// at once and a board is won by matching its pairs in any order.
inline std::string LevelLine(int number, int shape, int minColumn)
{
    char line[80];
    std::snprintf(line, sizeof line, "L%03d%03d,001,%03d,---,", number, shape, minColumn);
    std::string text(line);
    text.resize(64, ' ');
    return text + "\r\n";
}

inline std::string EasyLevels()
{
    std::string text;
    for (int level = 1; level <= LevelCount; ++level)
        text += LevelLine(level, 6, 3); // shape 6: columns 3 … 10, 8 rows
    return text;
}

class GameFolder {
public:
    GameFolder()
    {
        namespace fs = std::filesystem;
        Root = Dir.path().toStdString() + "/";
        fs::create_directories(Root + "map");
        fs::copy(fs::path(VZ_BUILD_DIR) / "tiles", Root + "tiles", fs::copy_options::recursive);
        Write("map/level.ini", EasyLevels());
    }
    const std::string& Path() const { return Root; }
    void Write(const std::string& relative, const std::string& bytes)
    {
        std::ofstream out(Root + relative, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    void Remove(const std::string& relative) { std::filesystem::remove(Root + relative); }
    // The shipped level file and the play-view backgrounds, as a player's folder holds them.
    void CopyShippedLevelsAndBackgrounds()
    {
        CopyFromBuild("map/level.ini");
        for (int n = 1; n <= 10; ++n)
            if (std::filesystem::is_regular_file(std::filesystem::path(VZ_BUILD_DIR) / ("map/map" + std::to_string(n) + ".bmp")))
                CopyFromBuild("map/map" + std::to_string(n) + ".bmp");
    }
    void CopyFromBuild(const std::string& relative)
    {
        std::filesystem::copy_file(std::filesystem::path(VZ_BUILD_DIR) / relative, Root + relative,
                                   std::filesystem::copy_options::overwrite_existing);
    }

private:
    QTemporaryDir Dir;
    std::string Root;
};

// A pixel of the play view inside a bay.
inline QPoint BayCentre(int32_t column, int32_t row)
{
    const Rect r = BayRect(column, row);
    const QPoint p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    const BayPos back = BayAt(p.x(), p.y());
    EXPECT_EQ(back.Column, column);
    EXPECT_EQ(back.Row, row);
    return p;
}

class WindowTest : public ::testing::Test {
protected:
    void StartGame()
    {
        Form = std::make_unique<TForm1>(Boxes, Folder.Path());
        Form->SetStartUpFailedHandler([this] { ++StartUpFailures; });
        Form->FormActivate();
    }

    const Board& TheBoard() const { return Form->GetBoard(); }
    Profile& TheProfile() { return FormProbe::ProfileOf(*Form); }

    void ClickOn(int32_t column, int32_t row)
    {
        const QPoint p = BayCentre(column, row);
        Form->Image321MouseUp(p.x(), p.y());
    }

    // Plays the board in the window to its end through the click handler.
    void WinByClicking()
    {
        ASSERT_TRUE(TheBoard().InputEnabled);
        const BoardShape& s = TheBoard().CurrentShape;
        while (TheBoard().CarsLeft > 0) {
            bool matched = false;
            for (int32_t r1 = s.MinRow; r1 <= s.MaxRow && !matched; ++r1)
                for (int32_t r2 = r1 + 1; r2 <= s.MaxRow && !matched; ++r2) {
                    const CarId a = TheBoard().Cells(s.MinColumn, r1).Slot[0];
                    if (a != 0 && a == TheBoard().Cells(s.MinColumn, r2).Slot[0]) {
                        ClickOn(s.MinColumn, r1);
                        ClickOn(s.MinColumn, r2);
                        matched = true;
                    }
                }
            ASSERT_TRUE(matched) << "no pair left on an easy board";
        }
    }

    // Deals with START in a mode and wins the board.
    void PlayAndWin(int mode)
    {
        ChooseMode(mode);
        Form->SpeedButton1Click();
        WinByClicking();
    }

    void ChooseMode(int mode)
    {
        switch (mode) {
        case 1: Form->Label2Click(); break;
        case 2: Form->Label3Click(); break;
        case 3: Form->Label4Click(); break;
        case 4: Form->Label5Click(); break;
        case 5: Form->Label6Click(); break;
        case 6: Form->Label7Click(); break;
        default: FAIL() << "no mode " << mode;
        }
    }

    template <class Label> std::string Text(const Label* label) const { return label->text().toStdString(); }

    GameFolder Folder;
    ScriptedDialogs Boxes;
    std::unique_ptr<TForm1> Form;
    int StartUpFailures = 0;
};
