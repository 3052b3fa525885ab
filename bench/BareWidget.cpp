// The anchor of scripts/measure-events.sh: a widget of the play view's size that
// tracks the mouse and paints nothing, placed where the play view is on the
// screen (vroomzle-bare-widget X Y). What it costs to receive an event is the
// least any Qt program pays for it.
#include <QApplication>
#include <QWidget>

#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget widget;
    widget.setWindowTitle(QStringLiteral("bare widget"));
    widget.setMouseTracking(true);
    widget.setAttribute(Qt::WA_OpaquePaintEvent);
    widget.setGeometry(argc > 2 ? std::atoi(argv[1]) : 0, argc > 2 ? std::atoi(argv[2]) : 0, 768, 480);
    widget.show();
    return app.exec();
}
