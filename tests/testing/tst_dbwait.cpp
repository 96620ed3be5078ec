// Waiting for the database is visible, and no message shows a password's stored form.

#include "common/TestDatabase.h"
#include "testing/Login.h"
#include "testtaking/WaitIndicator.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

std::unique_ptr<QProcess> HoldLock(const QString &path, int ms)
{
    auto p = std::make_unique<QProcess>();
    p->start(QCoreApplication::applicationDirPath() + QStringLiteral("/tamberlin-writer"),
             {QStringLiteral("hold"), path, QString::number(ms)});
    if (!p->waitForReadyRead(20000) || !p->readLine().startsWith("held"))
        return nullptr;
    return p;
}

struct TSeen {
    bool LineShown = false;
    bool BusyPointer = false;
    bool Drawn = false;
};

} // namespace

class TestDbWait : public QObject {
    Q_OBJECT

private slots:
    void init() { TDialogSeam::BeginScript(); }
    void cleanup()
    {
        RemoveDbWaitIndicator();
        TDialogSeam::EndScript();
    }

    void waitingIsShownAndEnds();
    void shortWaitShowsNothing();
    void loginErrorShowsNoSecret();
    void secretFreeText_data();
    void secretFreeText();
};

void TestDbWait::waitingIsShownAndEnds()
{
    TTestDatabase db;
    QDialog window;
    window.resize(400, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    InstallDbWaitIndicator();

    auto holder = HoldLock(db.Path(), 1500);
    QVERIFY(holder);
    TSeen seen;
    // Runs only if the window keeps being served while the statement waits.
    QTimer::singleShot(1000, &window, [&] {
        seen.Drawn = true;
        const auto line = window.findChild<QLabel *>(QStringLiteral("Label_Waiting"));
        seen.LineShown = line && line->isVisible() && line->text() == WaitingText &&
                         window.rect().contains(line->geometry());
        seen.BusyPointer = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS) VALUES ('S01', 1, 1, 80, 'PASSED')"});
    QVERIFY(db.Connection().LongestWait() >= 1000);
    QVERIFY(seen.Drawn);
    QVERIFY(seen.LineShown);
    QVERIFY(seen.BusyPointer);
    // Over: the line is gone and the pointer is back.
    QVERIFY(!window.findChild<QLabel *>(QStringLiteral("Label_Waiting")));
    QVERIFY(!QApplication::overrideCursor());
    holder->waitForFinished(10000);
}

void TestDbWait::shortWaitShowsNothing()
{
    TTestDatabase db;
    QDialog window;
    window.show();
    InstallDbWaitIndicator();
    auto holder = HoldLock(db.Path(), 200);
    QVERIFY(holder);
    bool served = false;
    QTimer::singleShot(50, &window, [&] { served = true; });
    db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS) VALUES ('S01', 1, 1, 80, 'PASSED')"});
    QVERIFY(db.Connection().LongestWait() > 0);
    QVERIFY(!served); // nothing was drawn or run for a wait under half a second
    QVERIFY(!QApplication::overrideCursor());
    holder->waitForFinished(10000);
}

void TestDbWait::loginErrorShowsNoSecret()
{
    TTestDatabase db;
    db.Exec({"INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID, PWORD)",
             "VALUES (1, 'LAST', 'FIRST', '', 'S01', 'C4D3D3CFC8')"}); // "apple", the older scrambled form
    // The file as a read-only share gives it: the login works, replacing the stored form fails.
    TDbConnection readOnly;
    readOnly.SetConnectionString(ConnectionStringFor(db.Path()));
    readOnly.SetReadOnly(true);
    TDbQuery query(&readOnly);
    TForm_Login form(&query);
    form.SetLoginMode(ModeLogin);
    form.show();
    QTest::keyClicks(form.NvMaskEdit_UserName, QStringLiteral("S01"));
    QTest::keyClicks(form.NvMaskEdit_Password, QStringLiteral("apple"));
    QTest::mouseClick(form.BitBtn_OK, Qt::LeftButton);

    QVERIFY(!TDialogSeam::Shown().isEmpty());
    for (const TShownBox &box : TDialogSeam::Shown()) {
        QVERIFY2(!box.Text.contains(QLatin1String("C4D3D3CFC8")), qPrintable(box.Text));
        QVERIFY2(!box.Text.contains(QLatin1String("$argon2")), qPrintable(box.Text));
        QVERIFY2(!box.Text.contains(QLatin1String("apple")), qPrintable(box.Text));
        QVERIFY2(box.Text.contains(QLatin1String("readonly")), qPrintable(box.Text)); // the reason stays
    }
}

void TestDbWait::secretFreeText_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("shown");
    QTest::newRow("update") << "UPDATE studentmaster\r\nSET PWORD='$argon2id$v=19$m=1'\r\nAND PWORD='C4D3'\r\n"
                            << "UPDATE studentmaster\r\nSET PWORD='********'\r\nAND PWORD='********'\r\n";
    QTest::newRow("quote inside, blanks, case") << "set pword = 'a''b' WHERE STUDENTID='S''01'"
                                                << "set pword = '********' WHERE STUDENTID='S''01'";
    QTest::newRow("no value") << "AND PWORD IS NULL"
                              << "AND PWORD IS NULL";
}

void TestDbWait::secretFreeText()
{
    QFETCH(QString, statement);
    QFETCH(QString, shown);
    QCOMPARE(SecretFreeText(statement), shown);
}

QTEST_MAIN(TestDbWait)
#include "tst_dbwait.moc"
