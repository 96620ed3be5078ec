#include "toolkit/Application.h"

#include "toolkit/Exception.h"
#include "toolkit/MenuKeys.h"
#include "toolkit/StdDialogs.h"

#include <QDir>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    InstallMenuKeys();
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Exception &e) {
        ShowErrorBox(e.Message());
    } catch (const std::exception &e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    }
    return false;
}

QString TApplication::ProgramFolder()
{
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
