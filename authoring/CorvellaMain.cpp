#include "authoring/Main.h"
#include "designer/DesignForm.h"
#include "toolkit/Application.h"

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Corvella"));

    const QString databasePath = DatabaseFilePath(TApplication::ProgramFolder(), QStringLiteral("Corvella.txt"));
    Corvella::TForm_Main mainWindow(ConnectionStringFor(databasePath));
    // The template whose copy becomes the design surface.
    TForm_DesignForm designForm;
    mainWindow.Form_DesignForm = &designForm;
    mainWindow.show();
    return app.exec();
}
