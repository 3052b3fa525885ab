// A long scripted session through the window, offscreen, with every frame painted:
// after the first deal the peak resident size must stay flat. VZ_SESSION_EVENTS
// sets the number of events (20,000 by default).
#include "FormHarness.h"
#include "core/Random.h"
#include "model/PlayRules.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

namespace {

// A field of /proc/self/status in kB (VmHWM: the peak resident size so far).
long StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, key.size(), key) == 0)
            return std::strtol(line.c_str() + key.size(), nullptr, 10);
    return -1;
}

int SessionEvents()
{
    const char* text = std::getenv("VZ_SESSION_EVENTS");
    const int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : 20000;
}

class MemorySession : public WindowTest {
protected:
    std::mt19937 Rng{20261209u};
    int Wins = 0;
    int Below(int n) { return static_cast<int>(Rng() % static_cast<uint32_t>(n)); }

    // A click a player would make: the first car of a free pair, its twin, or an
    // emptied bay with cars under it; otherwise any bay.
    void PlayerClick()
    {
        const Board& b = TheBoard();
        const BoardShape& s = b.CurrentShape;
        for (int32_t r = s.MinRow; r <= s.MaxRow; ++r)
            for (int32_t c = s.MinColumn; c <= s.MaxColumn; ++c) {
                const Cell& cell = b.Cells(c, r);
                const bool pick = cell.Slot[0] != 0 ? IsFree(b, c, r) && HasFreeTwin(c, r) : cell.Slot[1] != 0;
                if (pick && (!b.CarSelected || b.SelectedBay != BayPos{c, r})) {
                    ClickOn(c, r);
                    return;
                }
            }
        ClickOn(s.MinColumn + Below(s.ColumnCount), s.MinRow + Below(s.RowCount));
    }

    bool HasFreeTwin(int32_t column, int32_t row) const
    {
        const Board& b = TheBoard();
        const BoardShape& s = b.CurrentShape;
        const CarId car = b.Cells(column, row).Slot[0];
        if (b.CarSelected)
            return b.Cells(b.SelectedBay.Column, b.SelectedBay.Row).Slot[0] == car;
        for (int32_t r = s.MinRow; r <= s.MaxRow; ++r)
            for (int32_t c = s.MinColumn; c <= s.MaxColumn; ++c)
                if (r != row && b.Cells(c, r).Slot[0] == car && IsFree(b, c, r))
                    return true;
        return false;
    }

    void Event()
    {
        const int kind = Below(100);
        if (kind < 45) {
            if (!TheBoard().InputEnabled)
                Form->B_GAMEClick();
            PlayerClick();
        } else if (kind < 75) {
            Form->Image321MouseMove(Below(768), Below(480));
        } else if (kind < 85) {
            Form->FormKeyUp(Below(3) ? KeySpace : KeyBackspace);
        } else if (kind < 90) {
            ChooseMode(1 + Below(6));
            Form->SpeedButton1Click();
        } else if (kind < 94) {
            Form->B_STAGESClick();
            Boxes.Answers.push_back(Below(2) == 0);
            switch (Below(8)) {
            case 0: Form->ColorButton1Click(); break;
            case 1: Form->ColorButton2Click(); break;
            case 2: Form->ColorButton3Click(); break;
            case 3: Form->ColorButton4Click(); break;
            case 4: Form->ColorButton5Click(); break;
            case 5: Form->ColorButton6Click(); break;
            case 6: Form->ColorButton7Click(); break;
            default: Form->ColorButton8Click(); break;
            }
        } else if (kind < 96) {
            Form->SpeedButton3Click(); // Save
        } else if (kind < 98) {
            Form->SpeedButton2Click(); // Load
        } else {
            Form->B_MENUClick();
        }
        const std::vector<std::string> told = Boxes.Texts("information");
        Wins += static_cast<int>(std::count(told.begin(), told.end(), "CONGRATULATIONS!"));
        Boxes.Shown.clear();
        Boxes.Answers.clear();
        QCoreApplication::processEvents(); // the frame, painted as on screen
    }
};

} // namespace

#if defined(__SANITIZE_ADDRESS__)
#define VZ_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VZ_UNDER_ASAN 1
#endif
#endif

TEST_F(MemorySession, PeakResidentSizeStaysFlatAfterTheFirstDeal)
{
#ifdef VZ_UNDER_ASAN
    GTEST_SKIP() << "AddressSanitizer's shadow memory is not the game's";
#endif
    Folder.CopyShippedLevelsAndBackgrounds();
    StartGame();
    SetRandomState(20261209u); // the same session every run
    Form->show();
    Form->SpeedButton1Click();
    QCoreApplication::processEvents();
    ASSERT_FALSE(Form->StartUpFailed());
    const long afterDeal = StatusKilobytes("VmHWM");
    const int events = SessionEvents();
    long peakAt[4] = {};
    for (int e = 1; e <= events; ++e) {
        Event();
        for (int q = 1; q <= 4; ++q)
            if (e == events * q / 4)
                peakAt[q - 1] = StatusKilobytes("VmHWM");
    }
    const long end = StatusKilobytes("VmHWM");
    std::printf("peak resident: %ld kB after the first deal; %ld, %ld, %ld, %ld kB at each quarter of %d events\n",
                afterDeal, peakAt[0], peakAt[1], peakAt[2], peakAt[3], events);
    EXPECT_GT(Wins, 0) << "the session should have won boards";
    // Flat: the first deals of the other modes touch a few megabytes more (their
    // backgrounds, the shop page); after that nothing grows.
    EXPECT_LE(end - afterDeal, 6 * 1024);
    EXPECT_LE(end - peakAt[0], 1024);
    EXPECT_LT(end, 60 * 1024);
}
