#include "app/Dialogs.h"
#include "app/Form1.h"
#include "core/ProgramFolder.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // No application display name: Qt would append it to the window title.
    MessageBoxDialogs dialogs;
    TForm1 form(dialogs, ProgramFolder());
    dialogs.SetParent(&form);
    // A game half set up must not be played.
    form.SetStartUpFailedHandler([] { QCoreApplication::exit(1); });
    form.show();
    return app.exec();
}
