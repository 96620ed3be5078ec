#pragma once

#include <QApplication>

// The application object of both programs. An error that no handler caught ends
// the event handler that raised it and is shown in the standard error box; every
// window stays open.
class TApplication : public QApplication {
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // The folder of the running program, with its closing separator.
    static QString ProgramFolder();
};
