#include "testing/Main.h"
#include "toolkit/Application.h"

#include <QTimer>

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Tamberlin"));
    // The windows of the sequence come and go; the program ends when the sequence does.
    TApplication::setQuitOnLastWindowClosed(false);
    Tamberlin::TForm_Main mainWindow;
    QTimer::singleShot(0, &mainWindow, [&mainWindow] {
        mainWindow.FormShow();
        QCoreApplication::quit();
    });
    return app.exec();
}
