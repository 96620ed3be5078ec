#include "authoring/Main.h"
#include "database/Database.h"
#include "designer/DesignForm.h"
#include "toolkit/Application.h"
#include "toolkit/StdDialogs.h"

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Corvella"));
    // The data layer shows nothing itself; outside the main window's life its failures come up
    // in the error box (the main window shows them in the message dialog while it is open).
    SetDbErrorReporter(ShowErrorBox);

    const QString databasePath = DatabaseFilePath(TApplication::ProgramFolder(), QStringLiteral("Corvella.txt"));
    Corvella::TForm_Main mainWindow(ConnectionStringFor(databasePath));
    // The template whose copy becomes the design surface.
    TForm_DesignForm designForm;
    mainWindow.Form_DesignForm = &designForm;
    mainWindow.show();
    return app.exec();
}
