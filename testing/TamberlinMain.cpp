#include "toolkit/Application.h"

#include <QMainWindow>

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Tamberlin"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tamberlin"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
