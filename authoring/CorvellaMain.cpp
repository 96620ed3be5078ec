#include "toolkit/Application.h"

#include <QMainWindow>

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Corvella"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Corvella"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
