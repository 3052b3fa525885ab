// One start-up, timed from the QApplication to the first frame painted, printed
// in nanoseconds. `vroomzle-startup-probe` starts the game up to the MENU page;
// with --bare, a plain QMainWindow of the same size, the anchor of BM_StartUp;
// with --text, the same window with one line of Arial, the floor that loading
// the fonts puts under any window with text.
// A fresh process each time, so nothing is warm that a player's start has cold.
#include "app/Dialogs.h"
#include "app/Form1.h"
#include "core/ProgramFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

// Counts the paints of one window and its widgets; the dirty part of the tree
// is painted in one pass, so a frame is complete once the event that carried
// it returns.
class PaintWatch : public QObject {
public:
    // Only paints while `counts()` holds are counted.
    PaintWatch(QWidget* window, std::function<bool()> counts) : Window(window), Counts(std::move(counts))
    {
        qApp->installEventFilter(this);
    }
    int Paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == Window && Counts())
            ++Paints;
        return false;
    }

private:
    QWidget* Window;
    std::function<bool()> Counts;
};

struct ReportingDialogs : Dialogs {
    void Information(const std::string& text) override { std::fprintf(stderr, "information: %s\n", text.c_str()); }
    void Error(const std::string& text) override
    {
        std::fprintf(stderr, "error: %s\n", text.c_str());
        Failed = true;
    }
    bool Confirm(const std::string&) override { return false; }
    bool Failed = false;
};

// Runs the event loop until `done`, or gives up after ten seconds.
template <class Done> bool RunUntil(QApplication& app, Done&& done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 10000)
            return false;
        app.processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const bool bare = argc > 1 && std::strcmp(argv[1], "--bare") == 0;
    const bool text = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const auto start = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    bool painted = false;
    bool failed = false;
    if (bare || text) {
        QMainWindow window;
        window.resize(ClientWidth, ClientHeight);
        if (text) {
            auto* label = new QLabel(QStringLiteral("Vroomzle 1.00"), &window);
            label->setFont(ArialFont(12));
            label->move(8, 8);
            label->adjustSize();
        }
        PaintWatch watch(&window, [] { return true; });
        window.show();
        painted = RunUntil(app, [&] { return watch.Paints > 0; });
    } else {
        ReportingDialogs dialogs;
        TForm1 form(dialogs, ProgramFolder());
        // The MENU page as the player first sees it: started up, then painted.
        PaintWatch watch(&form, [&] { return form.HasStartedUp(); });
        form.show();
        painted = RunUntil(app, [&] { return watch.Paints > 0; });
        failed = dialogs.Failed || form.StartUpFailed() || form.Pages->currentWidget() != form.TabSheet1;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start);
    if (!painted || failed) {
        std::fprintf(stderr, "start-up did not reach its first frame\n");
        return 1;
    }
    std::printf("%lld\n", static_cast<long long>(elapsed.count()));
    return 0;
}
