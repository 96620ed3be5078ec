#include "testing/Main.h"

#include "dialogs/SaveMsgDlg.h"
#include "dialogs/SplashAbout.h"
#include "testing/Login.h"
#include "testing/SelectClass.h"
#include "testing/SelectTest.h"
#include "testing/TakenTestReport.h"
#include "testtaking/ResultStore.h"
#include "testtaking/TestWizard.h"
#include "testtaking/WaitIndicator.h"
#include "toolkit/Application.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

namespace Tamberlin {

const QString TForm_Main::AnotherTestQuestion = QStringLiteral("Would you like to take another test?");

TForm_Main::TForm_Main(QWidget *parent)
    : QMainWindow(parent), ADOQuery(&ADOConnection), ProgramFolder(TApplication::ProgramFolder())
{
    setObjectName(QStringLiteral("Form_Main"));
    setWindowTitle(QStringLiteral("Tamberlin"));
    SetDbErrorReporter([](const QString &message) { SaveMsgDialog(message, MsgError, BtnOK); });
    InstallDbWaitIndicator();

    Button_Test = new QPushButton(QStringLiteral("Test"), this);
    Button_Test->setObjectName(QStringLiteral("Button_Test"));
    setCentralWidget(Button_Test);
    connect(Button_Test, &QPushButton::clicked, this, [this] { Button_TestClick(Button_Test); });

    NvSplashScreen = new TNvSplashScreen(this);
    NvSplashScreen->Title = QStringLiteral("Tamberlin");
    Form_Login = new TForm_Login(&ADOQuery);
}

TForm_Main::~TForm_Main()
{
    delete Form_Login;
    RemoveDbWaitIndicator();
    SetDbErrorReporter(nullptr);
}

void TForm_Main::ShowSplash()
{
    NvSplashScreen->DisplayTime = SplashTime;
    NvSplashScreen->Execute();
    // The login comes once the splash screen has gone (after its time, or a click).
    QEventLoop wait;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &wait, [&] {
        if (!NvSplashScreen->isVisible())
            wait.quit();
    });
    poll.start(20);
    if (NvSplashScreen->isVisible())
        wait.exec();
}

void TForm_Main::FormShow()
{
    // Results kept on this computer by an earlier run are stored as soon as they can be.
    TKeptResultRetrier::Instance()->Start();
    ShowSplash();
    Button_TestClick(Button_Test);
    close();
}

void TForm_Main::Button_TestClick(QObject *sender)
{
    for (;;) {
        ConnectionString = ConnectionStringFor(DatabaseFilePath(ProgramFolder, QStringLiteral("Tamberlin.txt")));
        if (!ADOConnection.Connected())
            ADOConnection.SetConnectionString(ConnectionString);

        QString studentID;
        if (sender) {
            if (!Form_Login)
                Form_Login = new TForm_Login(&ADOQuery);
            Form_Login->SetLoginMode(ModeLogin);
            Form_Login->exec();
            studentID = Form_Login->UserName();
            const bool cancelled = Form_Login->Cancelled;
            delete Form_Login;
            Form_Login = nullptr;
            if (cancelled)
                return;
        } else {
            studentID = LastStudentID;
        }

        QString classID;
        QString className;
        {
            TForm_SelectClass selectClass(&ADOQuery);
            selectClass.StudentID = studentID;
            selectClass.exec();
            if (selectClass.Cancelled)
                return;
            classID = selectClass.ClassID;
            className = selectClass.ClassName;
        }

        // View Test shows the stored result in the program's preview window.
        const auto viewTest = [this](TForm_SelectTest *form) {
            ViewTakenTest(ADOQuery, form->StudentID, form->ClassID, form->ClassName, form->TestID, form);
        };

        QString testID;
        {
            TForm_SelectTest selectTest(&ADOQuery);
            selectTest.setWindowTitle(QStringLiteral("Select Test"));
            selectTest.StudentID = studentID;
            selectTest.ClassID = classID;
            selectTest.ClassName = className;
            selectTest.OnViewTest = viewTest;
            selectTest.exec();
            if (selectTest.Cancelled)
                return;
            testID = selectTest.TestID;
        }

        {
            TForm_TestWizard wizard(&ADOQuery, true);
            wizard.ConnectionString = ConnectionString;
            wizard.TestID = testID;
            wizard.StudentID = studentID;
            wizard.ClassID = classID;
            wizard.SaveResult = true;
            wizard.exec();
        }

        if (ConfirmBox(AnotherTestQuestion, BtnYes | BtnNo) != ResultYes)
            return;
        LastStudentID = studentID;
        sender = nullptr;
    }
}

} // namespace Tamberlin
