// A long random session in the window, the way a careless player and a careless
// file system would have it: clicks, moves, wheel turns and keys wherever they
// land, every page, mode and button, restarts, and profile, level, background and
// header files damaged between events. After every event the board and the
// profile must still hold, and a save that reports success must have written the
// profile.
//
//   VZ_SOAK_EVENTS=100000 build/tests/test_soak     or   --events 100000
//   VZ_SOAK_SEED=7 build/tests/test_soak            or   --seed 7
#include "FormHarness.h"
#include "ReadFile.h"
#include "model/Invariants.h"
#include "app/ProfileFile.h"
#include "core/Random.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

namespace {

uint64_t SoakEvents = 3000;
uint64_t SoakSeed = 20261209;

namespace fs = std::filesystem;

// Aborts the process when the session stops making progress: a hang would
// otherwise only show as a ctest timeout without the event that caused it.
class Watchdog {
public:
    Watchdog(std::chrono::seconds limit, std::function<std::string()> where) : Limit(limit), Where(std::move(where))
    {
        Thread = std::thread([this] { Watch(); });
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(Mutex);
            Stop = true;
        }
        Wake.notify_all();
        Thread.join();
    }
    void Tick() { ++Progress; }

private:
    void Watch()
    {
        std::unique_lock<std::mutex> lock(Mutex);
        uint64_t seen = Progress;
        auto since = std::chrono::steady_clock::now();
        while (!Wake.wait_for(lock, std::chrono::seconds(1), [this] { return Stop; })) {
            if (Progress != seen) {
                seen = Progress;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since > Limit) {
                std::fprintf(stderr, "soak: no progress for %llds at %s\n", static_cast<long long>(Limit.count()),
                             Where().c_str());
                std::abort();
            }
        }
    }

    const std::chrono::seconds Limit;
    std::function<std::string()> Where;
    std::atomic<uint64_t> Progress{0};
    std::mutex Mutex;
    std::condition_variable Wake;
    bool Stop = false;
    std::thread Thread;
};

// The guards of the game's own tables and indices: an error box with one of
// these means a value escaped its range somewhere before.
bool InternalError(const std::string& text)
{
    for (const char* guard : {"Game mode ", "Shop item ", "Shop button ", "Level record has no field", "std::"})
        if (text.find(guard) != std::string::npos)
            return true;
    const size_t at = text.find(" does not exist");
    return text.rfind("Level ", 0) == 0 && at != std::string::npos &&
           text.find_first_not_of("0123456789-", 6) == at;
}

// Keys a player may press anywhere, the game's own among them.
const Qt::Key Keys[] = {
    Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Space, Qt::Key_Space, Qt::Key_0, Qt::Key_1, Qt::Key_2,
    Qt::Key_4, Qt::Key_7, Qt::Key_9, Qt::Key_A, Qt::Key_Z, Qt::Key_Minus, Qt::Key_Plus, Qt::Key_Left,
    Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,
    Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Delete, Qt::Key_F1,
    Qt::Key_F10, Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt,
};

class Soak : public ::testing::Test {
protected:
    // The session's own generator: the same seed gives the same session.
    uint64_t Next()
    {
        State ^= State << 13;
        State ^= State >> 7;
        State ^= State << 17;
        return State;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }

    void Note(const std::string& what)
    {
        Recent.push_back(std::to_string(EventNumber) + ": " + what);
        if (Recent.size() > 24)
            Recent.pop_front();
    }
    std::string Where() const
    {
        std::string text = "event " + std::to_string(EventNumber) + " of seed " + std::to_string(SoakSeed) + "; last events:";
        for (const std::string& line : Recent)
            text += "\n  " + line;
        return text;
    }

    // The game as a player finds it after unpacking: the shipped levels and
    // backgrounds, or the easy levels that are won in a few clicks.
    void Restart()
    {
        Form.reset();
        if (Chance(50)) {
            Folder.CopyFromBuild("map/level.ini");
            Levels = "shipped";
        } else {
            Folder.Write("map/level.ini", EasyLevels());
            Levels = "easy";
        }
        if (Chance(4))
            DamageLevelFile();
        Form = std::make_unique<TForm1>(Boxes, Folder.Path());
        Form->FormActivate();
        // The deals follow the session's seed, not the clock.
        SetRandomState(static_cast<uint32_t>(Next()));
        Form->show();
        ++Counts["restart (" + Levels + " levels)"];
    }

    void DamageLevelFile()
    {
        switch (Below(5)) {
        case 0: Folder.Remove("map/level.ini"); Levels = "missing"; break;
        case 1: Folder.Write("map/level.ini", ""); Levels = "empty"; break;
        case 2: Folder.Write("map/level.ini", Garbage(Below(4000))); Levels = "garbage"; break;
        case 3: {
            std::string text = ReadFile(Folder.Path() + "map/level.ini");
            text.resize(static_cast<size_t>(Below(static_cast<int>(text.size()) + 1)));
            Folder.Write("map/level.ini", text);
            Levels = "truncated";
            break;
        }
        default: {
            // One character of the first levels changed: a token stops being a number,
            // a shape or pool leaves its range, a dash ends a list early.
            std::string text = ReadFile(Folder.Path() + "map/level.ini");
            const char bad[] = {'x', '9', '0', '-', ' ', '\r', '\n', '\x1a'};
            for (int n = 1 + Below(4); n > 0 && !text.empty(); --n)
                text[static_cast<size_t>(Below(std::min<int>(static_cast<int>(text.size()), 600)))] = bad[Below(8)];
            Folder.Write("map/level.ini", text);
            Levels = "edited";
            break;
        }
        }
    }

    std::string Garbage(int length)
    {
        std::string bytes(static_cast<size_t>(length), '\0');
        for (char& c : bytes)
            c = static_cast<char>(Next());
        return bytes;
    }

    std::string RandomDigits(int length)
    {
        std::string digits(static_cast<size_t>(length), '0');
        for (char& c : digits)
            c = static_cast<char>('0' + Below(10));
        return digits;
    }

    std::string GoodProfileLine()
    {
        Profile p;
        p.Money = Chance(20) ? 9999999 : Below(60000);
        for (bool& owned : p.Owned)
            owned = Chance(40);
        p.UnlockedNormal = 1 + Below(ChampionshipLevels);
        p.UnlockedAdvanced = 1 + Below(ChampionshipLevels);
        return FormatProfileLine(p, SpinValues{1 + Below(p.UnlockedNormal), 1 + Below(p.UnlockedAdvanced)});
    }

    // vrz.sav as a hand editor, a full disk or a bad copy leaves it.
    void DamageProfile()
    {
        const std::string path = Folder.Path() + "vrz.sav";
        std::error_code ignored;
        fs::remove_all(path, ignored);
        fs::remove_all(path + ".tmp", ignored);
        const char* const ends[] = {"\n", "\r\n", "\r", ""};
        std::string line = GoodProfileLine();
        std::string kind;
        switch (Below(13)) {
        case 0: kind = "good"; line += ends[Below(4)]; break;
        case 1: kind = "truncated"; line.resize(static_cast<size_t>(Below(23))); break;
        case 2: kind = "garbage"; line = Garbage(Below(80)); break;
        case 3: kind = "over-long"; line += RandomDigits(100 + Below(20000)); break;
        case 4: {
            kind = "negative number";
            const size_t at = 8 + static_cast<size_t>(Below(14));
            line[at] = '-';
            break;
        }
        case 5: kind = "out-of-range numbers"; line = line.substr(0, 8) + RandomDigits(15) + "\r\n"; break;
        case 6: kind = "missing"; Note("profile " + kind); Counts["profile " + kind]++; return;
        case 7:
            kind = "folder in its place";
            fs::create_directories(path + "/x");
            Note("profile " + kind);
            Counts["profile " + kind]++;
            return;
        case 8: kind = "empty"; line.clear(); break;
        case 9: kind = "blank lines first"; line = "\r\n\n" + line; break;
        case 10: kind = "byte-order mark"; line = "\xEF\xBB\xBF" + line + "\n"; break;
        case 11: {
            kind = "NUL inside";
            line[static_cast<size_t>(Below(23))] = '\0';
            break;
        }
        default:
            kind = "temporary file in the way";
            line += "\n";
            fs::create_directories(path + ".tmp/x");
            break;
        }
        Folder.Write("vrz.sav", line);
        Note("profile " + kind);
        Counts["profile " + kind]++;
    }

    // Backgrounds and header pictures: removed, cut short or overwritten, or put back.
    void DamagePicture()
    {
        const bool background = Chance(50);
        const std::string name = background ? "map/map" + std::to_string(1 + Below(10)) + ".bmp"
                                            : "tiles/" + std::to_string(Below(9)) + ".jpg";
        switch (Below(4)) {
        case 0: Folder.Remove(name); Note("removed " + name); break;
        case 1: {
            std::string bytes = ReadFile(std::string(VZ_BUILD_DIR) + "/" + name);
            bytes.resize(static_cast<size_t>(Below(static_cast<int>(bytes.size()))));
            Folder.Write(name, bytes);
            Note("cut " + name);
            break;
        }
        case 2: Folder.Write(name, Garbage(Below(3000))); Note("garbage " + name); break;
        default: Folder.CopyFromBuild(name); Note("restored " + name); break;
        }
        ++Counts["picture damaged or restored"];
    }

    QWidget* WidgetAt(QPoint& local)
    {
        QWidget* target = Form->childAt(local);
        if (target == nullptr)
            return Form.get();
        local = target->mapFrom(Form.get(), local);
        return target;
    }

    QPoint AnywhereInTheWindow()
    {
        return QPoint(Below(ClientWidth), Below(ClientHeight));
    }

    Qt::MouseButton AnyButton()
    {
        const int b = Below(20);
        return b < 16 ? Qt::LeftButton : b < 19 ? Qt::RightButton : Qt::MiddleButton;
    }

    void Click(QWidget* widget, QPoint at = QPoint(), Qt::MouseButton button = Qt::LeftButton)
    {
        if (at.isNull())
            at = widget->rect().center();
        QTest::mouseClick(widget, button, Qt::NoModifier, at);
    }

    // A widget the player can only reach from its page.
    void ClickOnPage(QWidget* page, QWidget* widget, const std::string& what)
    {
        if (Form->Pages->currentWidget() != page) {
            QWidget* pageButton = page == Form->TabSheet1 ? Form->B_MENU : page == Form->TabSheet2 ? Form->B_GAME : Form->B_STAGES;
            Click(pageButton);
        }
        Note(what);
        Click(widget);
    }

    void SendMove(QWidget* widget, QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::NoButton,
                         Chance(10) ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
    }

    QWidget* KeyTarget()
    {
        QWidget* focus = Form->focusWidget();
        return focus != nullptr ? focus : Form.get();
    }

    // A move of a player who wants to win: a free pair, a hidden car brought up,
    // or a bay clicked, on the play view.
    void PlayAMove()
    {
        if (Form->GetBoard().CarsLeft == 0 || Chance(3)) {
            ChooseModeAndStart();
            return;
        }
        if (Form->Pages->currentWidget() != Form->TabSheet2) {
            Note("GAME to play");
            Click(Form->B_GAME);
            return;
        }
        const Board& b = Form->GetBoard();
        const BoardShape& s = b.CurrentShape;
        std::vector<BayPos> free, hidden;
        for (int32_t c = s.MinColumn; c <= s.MaxColumn; ++c)
            for (int32_t r = s.MinRow; r <= s.MaxRow; ++r) {
                if (!InsideShape(b, c, r))
                    continue;
                if (b.Cells(c, r).Slot[0] != 0 && IsFree(b, c, r))
                    free.push_back({c, r});
                if (b.Cells(c, r).Slot[0] == 0 && b.HiddenCount(c, r) > 0)
                    hidden.push_back({c, r});
            }
        for (size_t i = 0; i < free.size(); ++i)
            for (size_t j = i + 1; j < free.size(); ++j)
                if (b.Cells(free[i].Column, free[i].Row).Slot[0] == b.Cells(free[j].Column, free[j].Row).Slot[0] &&
                    !Chance(10)) {
                    Note("pair " + std::to_string(free[i].Column) + "," + std::to_string(free[i].Row) + " + " +
                         std::to_string(free[j].Column) + "," + std::to_string(free[j].Row));
                    ClickBayCentre(free[i]);
                    Check();
                    ClickBayCentre(free[j]);
                    return;
                }
        if (!hidden.empty() && !Chance(10)) {
            const BayPos bay = hidden[static_cast<size_t>(Below(static_cast<int>(hidden.size())))];
            Note("bring up " + std::to_string(bay.Column) + "," + std::to_string(bay.Row));
            ClickBayCentre(bay);
            return;
        }
        const BayPos bay{GridMinColumn + Below(GridColumns), GridMinRow + Below(GridRows)};
        Note("bay " + std::to_string(bay.Column) + "," + std::to_string(bay.Row));
        ClickBayCentre(bay);
    }

    void ClickBayCentre(BayPos bay)
    {
        const Rect r = BayRect(bay.Column, bay.Row);
        Click(Form->Image321, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    }

    void ChooseModeAndStart()
    {
        const int mode = 1 + Below(6);
        ClickOnPage(Form->TabSheet1, Form->ModeLabel[static_cast<size_t>(mode)], "mode " + std::to_string(mode));
        if (Chance(80)) {
            Note("START");
            Click(Form->SpeedButton1);
        }
        ++Counts["START or mode"];
    }

    void Save(bool andExit)
    {
        const std::string path = Folder.Path() + "vrz.sav";
        const std::string before = fs::is_regular_file(path) ? ReadFile(path) : std::string();
        const bool wasFile = fs::is_regular_file(path);
        const Profile profile = FormProbe::ProfileOf(*Form);
        const SpinValues spins{Form->SpinEdit2->TypedNumber(), Form->SpinEdit3->TypedNumber()};
        const size_t errors = Boxes.Texts("error").size();
        ClickOnPage(Form->TabSheet1, andExit ? Form->SpeedButton4 : Form->SpeedButton3, andExit ? "SAVE & EXIT" : "Save Profile");
        const bool failed = Boxes.Texts("error").size() > errors;
        if (Form->StartUpFailed())
            return;
        if (!failed) {
            ASSERT_EQ(ReadFile(path), FormatProfileLine(profile, spins) + "\n") << "a save that reported success; " << Where();
            ASSERT_EQ(!andExit, !Boxes.Texts("information").empty() && Boxes.Texts("information").back() == "SAVED") << Where();
            ASSERT_EQ(Form->isVisible(), !andExit) << Where();
            ++Counts[andExit ? "SAVE & EXIT written" : "Save written"];
        } else {
            ASSERT_TRUE(Form->isVisible()) << "a failed SAVE & EXIT must not close; " << Where();
            if (wasFile) {
                ASSERT_EQ(ReadFile(path), before) << "a failed save damaged the old profile; " << Where();
            }
            ++Counts["save refused"];
        }
        if (andExit && !failed) {
            // The player starts the game again and loads what was saved.
            Restart();
            if (Form->StartUpFailed())
                return;
            Note("Load Profile after the restart");
            Boxes.Shown.clear();
            Click(Form->SpeedButton2);
            // A header picture damaged earlier is reported in place of "Profile loaded";
            // the profile is in memory all the same.
            const std::vector<std::string> errors = Boxes.Texts("error");
            if (errors.empty()) {
                ASSERT_EQ(Boxes.Texts("information"), std::vector<std::string>{"Profile loaded"}) << Where();
            } else {
                ASSERT_EQ(errors.size(), 1u) << Where();
                ASSERT_TRUE(errors[0].find("tiles/") != std::string::npos || errors[0].find("JPEG") != std::string::npos ||
                            errors[0].find("Premature") != std::string::npos || errors[0].find("Empty input") != std::string::npos)
                    << errors[0] << "; " << Where();
            }
            const Profile& loaded = FormProbe::ProfileOf(*Form);
            ASSERT_EQ(loaded.Money, profile.Money) << Where();
            for (int k = 0; k < ShopItemCount; ++k)
                ASSERT_EQ(loaded.Owned[k], profile.Owned[k]) << k << "; " << Where();
            ASSERT_EQ(loaded.UnlockedNormal, profile.UnlockedNormal) << Where();
            ASSERT_EQ(loaded.UnlockedAdvanced, profile.UnlockedAdvanced) << Where();
            ++Counts["saved, restarted and loaded back"];
        }
    }

    // One event of a player (or of the world around the game).
    void OneEvent()
    {
        const int kind = Below(1000);
        // A game that failed to start, or that SAVE & EXIT closed, is started again.
        if (Form->StartUpFailed() || !Form->isVisible() || kind < 3) {
            Note("restart");
            Restart();
        } else if (kind < 170) {
            QPoint at = AnywhereInTheWindow();
            QWidget* target = WidgetAt(at);
            const Qt::MouseButton button = AnyButton();
            Note("click " + target->objectName().toStdString() + " at " + std::to_string(at.x()) + "," + std::to_string(at.y()));
            if (Chance(85)) {
                QTest::mouseClick(target, button, Qt::NoModifier, at);
            } else if (Chance(50)) {
                QTest::mousePress(target, button, Qt::NoModifier, at);
            } else {
                QTest::mouseRelease(target, button, Qt::NoModifier, at);
            }
            ++Counts["click anywhere"];
        } else if (kind < 300) {
            QPoint at = AnywhereInTheWindow();
            QWidget* target = WidgetAt(at);
            Note("move over " + target->objectName().toStdString());
            SendMove(target, at);
            ++Counts["move anywhere"];
        } else if (kind < 390) {
            // The play view, and past its edges as a held button drags the pointer out.
            const QPoint at(Below(1000) - 116, Below(700) - 110);
            Note("play view " + std::string(Chance(50) ? "click" : "move") + " at " + std::to_string(at.x()) + "," + std::to_string(at.y()));
            if (Chance(50))
                Click(Form->Image321, at, AnyButton());
            else
                SendMove(Form->Image321, at);
            ++Counts["play view"];
        } else if (kind < 600) {
            PlayAMove();
            ++Counts["play a move"];
        } else if (kind < 700) {
            const Qt::Key key = Keys[Below(static_cast<int>(std::size(Keys)))];
            QWidget* target = KeyTarget();
            Note("key " + std::to_string(key) + " to " + target->objectName().toStdString());
            if (Chance(60)) {
                QTest::keyClick(target, key);
            } else if (Chance(75)) {
                QTest::keyRelease(target, key);
            } else {
                // A key no keyboard map knows, or one held down and repeating.
                const int code = Chance(50) ? static_cast<int>(Next() % 0x01300000u) : key;
                QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, QString(), Chance(50));
                QCoreApplication::sendEvent(target, &release);
            }
            ++Counts["key"];
        } else if (kind < 745) {
            QWidget* buttons[] = {Form->B_MENU, Form->B_GAME, Form->B_STAGES};
            QWidget* button = buttons[Below(3)];
            Note(button->objectName().toStdString());
            Click(button);
            ++Counts["page button"];
        } else if (kind < 785) {
            ChooseModeAndStart();
        } else if (kind < 850) {
            const int n = 1 + Below(ShopItemCount);
            ClickOnPage(Form->TabSheet3, Form->ColorButtonN[static_cast<size_t>(n)], "ColorButton" + std::to_string(n));
            ++Counts["shop button"];
        } else if (kind < 885) {
            ClickOnPage(Form->TabSheet1, Form->SpeedButton2, "Load Profile");
            ++Counts["Load Profile"];
        } else if (kind < 915) {
            Save(false);
        } else if (kind < 925) {
            Save(true);
        } else if (kind < 965) {
            DamageProfile();
        } else if (kind < 975) {
            DamagePicture();
        } else if (kind < 985) {
            QPoint at = AnywhereInTheWindow();
            QWidget* target = WidgetAt(at);
            const int delta = (Below(7) - 3) * 120;
            Note("wheel " + std::to_string(delta) + " over " + target->objectName().toStdString());
            QWheelEvent wheel(QPointF(at), QPointF(target->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(target, &wheel);
            ++Counts["wheel"];
        } else if (kind < 990) {
            const QSize size(Below(1400), Below(900));
            Note("resize to " + std::to_string(size.width()) + "x" + std::to_string(size.height()));
            Form->resize(size);
            ++Counts["resize"];
        } else {
            Note("resize back");
            Form->resize(ClientWidth, ClientHeight);
        }
        // Repaints and timers run between events, as in the event loop.
        QCoreApplication::processEvents();
    }

    void Check()
    {
        ASSERT_TRUE(Form);
        for (const ScriptedDialogs::Box& box : Boxes.Shown) {
            ++Counts["box: " + box.Kind];
            if (box.Kind == "error") {
                ++ErrorTexts[box.Text.size() > 60 ? box.Text.substr(0, 60) + "…" : box.Text];
                ASSERT_FALSE(box.Text.empty()) << Where();
                ASSERT_EQ(box.Text.back(), '.') << Where();
                // The game's own range guards must never be what the player meets.
                ASSERT_FALSE(InternalError(box.Text)) << box.Text << "; " << Where();
            }
        }
        Boxes.Shown.clear();
        while (Boxes.Answers.size() < 4)
            Boxes.Answers.push_back(Chance(50));

        const Board& b = Form->GetBoard();
        const std::string broken = BrokenInvariant(b);
        ASSERT_EQ(broken, "") << Where();
        if (b.InputEnabled) {
            ASSERT_EQ(Form->Pages->currentWidget(), Form->TabSheet2) << "input on another page; " << Where();
            ASSERT_GT(b.CarsLeft, 0) << "input on a won board; " << Where();
        }
        ASSERT_EQ(Form->Label1->text().toStdString(), CarsLeftText(b.CarsLeft)) << Where();

        const Profile& p = Form->GetProfile();
        ASSERT_GE(p.Money, 0) << Where();
        ASSERT_GE(p.UnlockedNormal, 1) << Where();
        ASSERT_LE(p.UnlockedNormal, ChampionshipLevels) << Where();
        ASSERT_GE(p.UnlockedAdvanced, 1) << Where();
        ASSERT_LE(p.UnlockedAdvanced, ChampionshipLevels) << Where();
        for (const SpinEdit* spin : {Form->SpinEdit2, Form->SpinEdit3}) {
            ASSERT_EQ(spin->minimum(), 1) << Where();
            ASSERT_EQ(spin->maximum(), spin == Form->SpinEdit2 ? p.UnlockedNormal : p.UnlockedAdvanced) << Where();
            // A new maximum leaves a box's number alone; START clamps what it reads.
            ASSERT_GE(spin->value(), 1) << Where();
        }
        ASSERT_GE(static_cast<int>(Form->GetGameMode()), 1) << Where();
        ASSERT_LE(static_cast<int>(Form->GetGameMode()), GameModeCount) << Where();
        if (!Form->StartUpFailed()) {
            ASSERT_TRUE(IsReachableLevel(Form->GetCurrentLevel())) << Form->GetCurrentLevel() << "; " << Where();
        }
        if (p.Money > MostMoneyHeld)
            MostMoneyHeld = p.Money;
    }

    uint64_t State = 0;
    uint64_t EventNumber = 0;
    std::deque<std::string> Recent;
    std::map<std::string, uint64_t> Counts;
    std::map<std::string, uint64_t> ErrorTexts;
    std::string Levels;
    int32_t MostMoneyHeld = 0;
    GameFolder Folder;
    ScriptedDialogs Boxes;
    std::unique_ptr<TForm1> Form;
};

} // namespace

TEST_F(Soak, RandomEventsKeepTheBoardAndTheProfileSound)
{
    std::printf("soak: %llu events, seed %llu (VZ_SOAK_EVENTS / --events, VZ_SOAK_SEED / --seed)\n",
                static_cast<unsigned long long>(SoakEvents), static_cast<unsigned long long>(SoakSeed));
    std::fflush(stdout);
    State = SoakSeed * 0x9E3779B97F4A7C15ull + 1;
    QApplication::setQuitOnLastWindowClosed(false);
    fs::create_directories(Folder.Path() + "map");
    for (int shape = 1; shape <= 10; ++shape)
        Folder.CopyFromBuild("map/map" + std::to_string(shape) + ".bmp");

    Watchdog watchdog(std::chrono::seconds(120), [this] { return Where(); });
    const auto start = std::chrono::steady_clock::now();
    Restart();
    ASSERT_NO_FATAL_FAILURE(Check());
    for (EventNumber = 1; EventNumber <= SoakEvents; ++EventNumber) {
        ASSERT_NO_FATAL_FAILURE(OneEvent());
        ASSERT_NO_FATAL_FAILURE(Check());
        watchdog.Tick();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("soak: %llu events in %.1f s; most money held %d\n", static_cast<unsigned long long>(SoakEvents),
                seconds, MostMoneyHeld);
    for (const auto& [what, n] : Counts)
        std::printf("  %8llu  %s\n", static_cast<unsigned long long>(n), what.c_str());
    std::printf("soak: error boxes by text:\n");
    for (const auto& [text, n] : ErrorTexts)
        std::printf("  %8llu  %s\n", static_cast<unsigned long long>(n), text.c_str());
    // The session must have reached the parts it is meant to shake.
    EXPECT_GT(Counts["box: information"], 0u);
    EXPECT_GT(Counts["box: error"], 0u);
}

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (const char* events = std::getenv("VZ_SOAK_EVENTS"))
        SoakEvents = std::strtoull(events, nullptr, 10);
    if (const char* seed = std::getenv("VZ_SOAK_SEED"))
        SoakSeed = std::strtoull(seed, nullptr, 10);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--events")
            SoakEvents = std::strtoull(argv[++i], nullptr, 10);
        else if (option == "--seed")
            SoakSeed = std::strtoull(argv[++i], nullptr, 10);
    }
    return RUN_ALL_TESTS();
}
