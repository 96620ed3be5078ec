#pragma once

#include "database/Database.h"

#include <QMainWindow>

class QPushButton;
class TForm_Login;
class TNvSplashScreen;

namespace Tamberlin {

// The testing program's main window, never seen: it owns the one connection and the
// statement object, shows the splash screen and runs the student's sequence of login,
// class, test, test wizard and "another test?".
class TForm_Main : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm_Main(QWidget *parent = nullptr);
    ~TForm_Main() override;

    // The splash screen, then the sequence; when it returns the program ends.
    void FormShow();
    // The sequence. With a sender it begins with the login; without one it goes on
    // with LastStudentID (the "another test" repetition).
    void Button_TestClick(QObject *sender);

    TDbConnection ADOConnection;
    TDbQuery ADOQuery;
    QString ConnectionString;
    QString LastStudentID;
    // Where the location file "Tamberlin.txt" and the "Database" folder are looked for.
    QString ProgramFolder;
    // How long the splash screen stays before the login, in milliseconds.
    int SplashTime = 2000;

    QPushButton *Button_Test = nullptr;
    TNvSplashScreen *NvSplashScreen = nullptr;
    TForm_Login *Form_Login = nullptr;

    static const QString AnotherTestQuestion;

private:
    void ShowSplash();
};

} // namespace Tamberlin
