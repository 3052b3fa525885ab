// What the player's machine spends on an event, from the screen's side, offscreen:
// Qt's delivery from the platform to the widget, the game's handler, and the
// repaint into the window's backing store, each benchmark iteration running the
// event loop until the paint is done. The anchors are a bare widget of the play
// view's size that tracks the mouse and paints nothing, sent the same events: the
// least any Qt program pays for them. Times are the process's CPU time.
//
//   BM_PointerMoveToScreen  / BM_PointerMoveBareWidget   a move to another bay
//   BM_ClickToScreen        / BM_ClickBareWidget         the two clicks of a pair
//   BM_BackspaceToScreen    / BM_KeyBareWidget           Backspace undoing that pair
#include "app/Dialogs.h"
#include "app/Form1.h"
#include "app/Widgets.h"
#include "core/ProgramFolder.h"
#include "deal/DealOrder.h"
#include "view/Projection.h"

#include "app/FormProbe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "vroomzle-bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

class NoDialogs : public Dialogs {
public:
    void Information(const std::string&) override {}
    void Error(const std::string&) override {}
    bool Confirm(const std::string&) override { return false; }
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
    int Paints = 0;
};

// Runs the event loop until `view` has painted after `before`; false when no paint
// came within a second. The view hands its changes to Qt at once, as it does for
// an event a frame after the last: every event here is painted.
bool UntilPainted(LayerSceneWidget& view, const PaintCounter& counter, int before)
{
    view.UpdatePending();
    QElapsedTimer waited;
    waited.start();
    while (counter.Paints == before) {
        if (waited.elapsed() > 1000)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

// The game on the GAME page with the largest boards, its pictures prepared, undo owned.
struct ScreenGame {
    NoDialogs Boxes;
    std::unique_ptr<TForm1> Form;
    std::unique_ptr<PaintCounter> Painted;
    std::vector<QPoint> BayPoints; // window points of the board's bays
    QPoint PairA, PairB;          // a free pair of the deal
    size_t NextMove = 1;          // the bay the next pointer move goes to (the marker starts elsewhere)
    bool Ready = false;

    ScreenGame()
    {
        App();
        Form = std::make_unique<TForm1>(Boxes, ProgramFolder());
        Form->show();
        QElapsedTimer waited;
        waited.start();
        while (!Form->HasStartedUp() && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        QCoreApplication::processEvents(); // the work left for after the first frame
        if (Form->StartUpFailed() || !Form->HasStartedUp())
            return;
        FormProbe::ProfileOf(*Form).SetOwned(ShopItem::Undo, true);
        Form->Label7Click(); // the maniac tier: the most bays and cars
        Form->SpeedButton1Click();
        Painted = std::make_unique<PaintCounter>(Form->Image321);
        QCoreApplication::processEvents();
        const Board& board = FormProbe::BoardOf(*Form);
        const BoardShape& s = board.CurrentShape;
        for (int32_t row = s.MinRow; row <= s.MaxRow; ++row)
            for (int32_t column = s.MinColumn; column <= s.MaxColumn; ++column)
                BayPoints.push_back(WindowPoint(column, row));
        BayPos a, b;
        Ready = board.InputEnabled && FindFreePair(board, a, b);
        PairA = WindowPoint(a.Column, a.Row);
        PairB = WindowPoint(b.Column, b.Row);
    }

    QPoint WindowPoint(int32_t column, int32_t row) const
    {
        const Rect r = BayRect(column, row);
        return Form->Image321->mapTo(Form.get(), QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    }

    QWindow* Window() const { return Form->windowHandle(); }

    // One click through the window, and the repaint it asks for.
    bool Click(QPoint at)
    {
        const int before = Painted->Paints;
        QTest::mouseClick(Window(), Qt::LeftButton, Qt::NoModifier, at);
        return UntilPainted(*Form->Image321, *Painted, before);
    }
    bool Backspace()
    {
        const int before = Painted->Paints;
        QTest::keyClick(Window(), Qt::Key_Backspace);
        return UntilPainted(*Form->Image321, *Painted, before);
    }
};

ScreenGame& Game()
{
    static const std::unique_ptr<ScreenGame> game = std::make_unique<ScreenGame>();
    return *game;
}

// A widget of the play view's size that tracks the mouse and paints nothing.
struct BareWidget {
    std::unique_ptr<QWidget> Widget;
    BareWidget()
    {
        App();
        Widget = std::make_unique<QWidget>();
        Widget->setMouseTracking(true);
        Widget->setAttribute(Qt::WA_OpaquePaintEvent);
        Widget->resize(768, 480);
        Widget->show();
        QCoreApplication::processEvents();
    }
    QWindow* Window() const { return Widget->windowHandle(); }
};

BareWidget& Bare()
{
    static const std::unique_ptr<BareWidget> bare = std::make_unique<BareWidget>();
    return *bare;
}

// The bays visited seven at a time, so the hover marker always moves.
QPoint NextBay(const std::vector<QPoint>& points, size_t& next)
{
    const QPoint at = points[next];
    next = (next + 7) % points.size();
    return at;
}

void BM_PointerMoveToScreen(benchmark::State& state)
{
    ScreenGame& g = Game();
    if (!g.Ready) {
        state.SkipWithError("the game did not start");
        return;
    }
    for (auto _ : state) {
        const int before = g.Painted->Paints;
        QTest::mouseMove(g.Window(), NextBay(g.BayPoints, g.NextMove));
        if (!UntilPainted(*g.Form->Image321, *g.Painted, before)) {
            state.SkipWithError("no repaint");
            break;
        }
    }
}

void BM_PointerMoveBareWidget(benchmark::State& state)
{
    BareWidget& bare = Bare();
    const std::vector<QPoint> points = Game().BayPoints; // the same spread of points, in its own window
    if (points.empty()) {
        state.SkipWithError("the game did not start");
        return;
    }
    size_t next = 0;
    for (auto _ : state) {
        QTest::mouseMove(bare.Window(), NextBay(points, next) - QPoint(12, 89));
        QCoreApplication::processEvents();
    }
}

void BM_ClickToScreen(benchmark::State& state)
{
    ScreenGame& g = Game();
    const int32_t cars = g.Ready ? FormProbe::BoardOf(*g.Form).CarsLeft : 0;
    for (auto _ : state) {
        if (!g.Ready || !g.Click(g.PairA) || !g.Click(g.PairB) || FormProbe::BoardOf(*g.Form).CarsLeft != cars - 2) {
            state.SkipWithError("the pair was not taken off");
            break;
        }
        state.PauseTiming();
        g.Backspace();
        state.ResumeTiming();
    }
}

void BM_BackspaceToScreen(benchmark::State& state)
{
    ScreenGame& g = Game();
    const int32_t cars = g.Ready ? FormProbe::BoardOf(*g.Form).CarsLeft : 0;
    for (auto _ : state) {
        state.PauseTiming();
        const bool taken = g.Ready && g.Click(g.PairA) && g.Click(g.PairB);
        state.ResumeTiming();
        if (!taken || !g.Backspace() || FormProbe::BoardOf(*g.Form).CarsLeft != cars) {
            state.SkipWithError("the undo did not bring the pair back");
            break;
        }
    }
}

void BM_ClickBareWidget(benchmark::State& state)
{
    BareWidget& bare = Bare();
    const ScreenGame& g = Game();
    for (auto _ : state) {
        QTest::mouseClick(bare.Window(), Qt::LeftButton, Qt::NoModifier, g.PairA - QPoint(12, 89));
        QTest::mouseClick(bare.Window(), Qt::LeftButton, Qt::NoModifier, g.PairB - QPoint(12, 89));
    }
}

void BM_KeyBareWidget(benchmark::State& state)
{
    BareWidget& bare = Bare();
    for (auto _ : state)
        QTest::keyClick(bare.Window(), Qt::Key_Backspace);
}

} // namespace

BENCHMARK(BM_PointerMoveToScreen)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PointerMoveBareWidget)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClickToScreen)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClickBareWidget)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BackspaceToScreen)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyBareWidget)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
