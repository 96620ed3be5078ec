#include "authoring/Main.h"
#include "toolkit/Application.h"

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Corvella"));

    // The design template and the tests-for-classes window join the main window here
    // once the designer and the records windows exist.
    const QString databasePath = DatabaseFilePath(TApplication::ProgramFolder(), QStringLiteral("Corvella.txt"));
    Corvella::TForm_Main mainWindow(ConnectionStringFor(databasePath));
    mainWindow.show();
    return app.exec();
}
