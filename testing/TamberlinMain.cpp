#include "database/Database.h"
#include "testing/Main.h"
#include "toolkit/Application.h"
#include "toolkit/StdDialogs.h"

#include <QTimer>

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Tamberlin"));
    // The data layer shows nothing itself; outside the main window's life its failures come up
    // in the error box (the main window shows them in the message dialog while it is open).
    SetDbErrorReporter(ShowErrorBox);
    // The windows of the sequence come and go; the program ends when the sequence does.
    TApplication::setQuitOnLastWindowClosed(false);
    Tamberlin::TForm_Main mainWindow;
    QTimer::singleShot(0, &mainWindow, [&mainWindow] {
        mainWindow.FormShow();
        QCoreApplication::quit();
    });
    return app.exec();
}
