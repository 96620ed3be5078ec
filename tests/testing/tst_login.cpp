#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "testing/Login.h"
#include "testing/Password.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

// A student row; password nullptr leaves PWORD NULL, otherwise it is stored as given.
void AddStudent(TTestDatabase &db, int id, const QString &studentID, const char *stored = nullptr)
{
    const QString pword = stored ? QuotedStr(QString::fromUtf8(stored)) : QStringLiteral("NULL");
    db.Exec({"INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID, PWORD)",
             QStringLiteral("VALUES (%1, 'LAST', 'FIRST', '', ").arg(id) + QuotedStr(studentID) + ", " + pword + ")"});
}

QString StoredPassword(TTestDatabase &db, int id)
{
    return db.Column({QStringLiteral("SELECT PWORD FROM studentmaster WHERE ID = %1").arg(id)}).value(0);
}

bool PasswordIsNull(TTestDatabase &db, int id)
{
    return db.Column({QStringLiteral("SELECT PWORD IS NULL FROM studentmaster WHERE ID = %1").arg(id)}).value(0) ==
           QLatin1String("1");
}

QList<TShownBox> BoxesOfKind(TBoxKind kind)
{
    QList<TShownBox> boxes;
    for (const TShownBox &box : TDialogSeam::Shown())
        if (box.Kind == kind)
            boxes << box;
    return boxes;
}

// The login window as the program shows it: login layout, shown, fields typed, OK.
class TLoginDriver {
public:
    explicit TLoginDriver(TDbQuery *query) : Form(std::make_unique<TForm_Login>(query))
    {
        Form->SetLoginMode(ModeLogin);
        Form->show();
    }

    void Type(QLineEdit *edit, const QString &text)
    {
        edit->clear();
        // Key by key, as typed; letters beyond ASCII arrive as text.
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(edit->text(), text);
    }

    void Login(const QString &user, const QString &password)
    {
        Type(Form->NvMaskEdit_UserName, user);
        Type(Form->NvMaskEdit_Password, password);
        QTest::mouseClick(Form->BitBtn_OK, Qt::LeftButton);
    }

    void ChangePassword(const QString &oldPassword, const QString &newPassword, const QString &confirm)
    {
        Type(Form->NvMaskEdit_Password, oldPassword);
        Type(Form->NvMaskEdit_NewPassword, newPassword);
        Type(Form->NvMaskEdit_ConfirmPassword, confirm);
        QTest::mouseClick(Form->BitBtn_OK, Qt::LeftButton);
    }

    bool ClosedAsLogin() const { return !Form->isVisible() && !Form->Cancelled && Form->result() == QDialog::Accepted; }

    std::unique_ptr<TForm_Login> Form;
};

} // namespace

class TestLogin : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layouts_data();
    void layouts();
    void scramblePassword_data();
    void scramblePassword();
    void firstLoginSetsHashedPassword_data();
    void firstLoginSetsHashedPassword();
    void refusedLogins_data();
    void refusedLogins();
    void legacyPasswordIsReplacedByHash();
    void changePasswordChecks_data();
    void changePasswordChecks();
    void secondLoginCannotClobberFirst();
    void cancelInEitherLayout_data();
    void cancelInEitherLayout();
    void databaseCannotBeOpened();
    void passwordCannotBeSaved();
    void modalSequence();
};

void TestLogin::init()
{
    TDialogSeam::BeginScript();
}

void TestLogin::cleanup()
{
    TDialogSeam::EndScript();
    const bool closed = CloseModalWindows();
    QVERIFY2(closed, "a modal window refused to close");
}

void TestLogin::layouts_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("passwordLabel");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("newPasswordShown");
    QTest::newRow("login") << int(ModeLogin) << "Login"
                           << "Enter user name and password:"
                           << "Password" << 200 << false;
    QTest::newRow("change password") << int(ModeChangePassword) << "Change Password"
                                     << "Enter password information:"
                                     << "Old Password" << 290 << true;
}

void TestLogin::layouts()
{
    QFETCH(int, mode);
    QFETCH(QString, caption);
    QFETCH(QString, title);
    QFETCH(QString, passwordLabel);
    QFETCH(int, height);
    QFETCH(bool, newPasswordShown);

    TTestDatabase db;
    TForm_Login form(&db.Query());
    // Switch away and back, so the layout is not just the constructor's.
    form.SetLoginMode(1 - mode);
    form.NvMaskEdit_UserName->setText(QStringLiteral("S01"));
    form.NvMaskEdit_Password->setText(QStringLiteral("old"));
    form.NvMaskEdit_NewPassword->setText(QStringLiteral("new"));
    form.SetLoginMode(mode);
    form.show();

    QCOMPARE(form.LoginMode(), mode);
    QCOMPARE(form.windowTitle(), caption);
    QCOMPARE(form.Label_Title->text(), title);
    QCOMPARE(form.NvLabel_Password->text(), passwordLabel);
    QCOMPARE(form.NvLabel_UserName->text(), QStringLiteral("User Name:"));
    QCOMPARE(form.NvLabel_NewPassword->text(), QStringLiteral("New Password:"));
    QCOMPARE(form.NvLabel_ConfirmPassword->text(), QStringLiteral("Confirm Password:"));
    QCOMPARE(form.size(), QSize(232, height));
    QCOMPARE(form.Panel_NewPassword->isVisible(), newPasswordShown);
    QCOMPARE(form.NvMaskEdit_UserName->isEnabled(), !newPasswordShown);
    // The user name survives the change of layout; the passwords are cleared by it.
    QCOMPARE(form.UserName(), QStringLiteral("S01"));
    QCOMPARE(form.NvMaskEdit_Password->text().isEmpty(), mode == ModeChangePassword);
    QCOMPARE(form.NvMaskEdit_Password->echoMode(), QLineEdit::Password);
    // Every control stays inside the window.
    for (QWidget *child : form.findChildren<QWidget *>())
        if (child->isVisible())
            QVERIFY2(form.rect().contains(QRect(child->mapTo(&form, QPoint(0, 0)), child->size())),
                     qPrintable(child->objectName()));
}

void TestLogin::scramblePassword_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("scrambled");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("apple") << "apple"
                           << "C4D3D3CFC8";
    QTest::newRow("digits and blank") << "0 9"
                                      << "93839C";
    QTest::newRow("code 156, two digits") << QString(QChar(156)) << "FF";
    QTest::newRow("code 157, three digits") << QString(QChar(157)) << "100";
    QTest::newRow("y with diaeresis") << QStringLiteral("\u00ff") << "162";
}

void TestLogin::scramblePassword()
{
    QFETCH(QString, password);
    QFETCH(QString, scrambled);
    QCOMPARE(ScramblePassword(password), scrambled);
}

void TestLogin::firstLoginSetsHashedPassword_data()
{
    QTest::addColumn<QString>("studentID");
    QTest::addColumn<QString>("typedUser");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("otherStudentID"); // a neighbour whose row must stay untouched

    QTest::newRow("plain") << "S03"
                           << "S03"
                           << "plum"
                           << "S04";
    QTest::newRow("other letter case") << "abc01"
                                       << "ABC01"
                                       << "Secret"
                                       << "abc02";
    QTest::newRow("apostrophes") << "O'NEILL"
                                 << "o'neill"
                                 << "it's 'quoted'"
                                 << "ONEILL";
    QTest::newRow("double quotes and percent") << "A\"1%"
                                               << "a\"1%"
                                               << "50% \"off\""
                                               << "A\"10";
    QTest::newRow("blanks") << "S 07"
                            << "S 07"
                            << "  two  blanks  "
                            << "S07";
    QTest::newRow("non-ASCII letters") << "ÉLÈVE"
                                       << "élève"
                                       << "pässwörd€ñ"
                                       << "ELEVE";
    QTest::newRow("empty new password") << "S05"
                                        << "S05"
                                        << ""
                                        << "S06";
    QTest::newRow("statement-like user name") << "x' OR '1'='1"
                                              << "x' OR '1'='1"
                                              << "p"
                                              << "x";
}

void TestLogin::firstLoginSetsHashedPassword()
{
    QFETCH(QString, studentID);
    QFETCH(QString, typedUser);
    QFETCH(QString, newPassword);
    QFETCH(QString, otherStudentID);

    TTestDatabase db;
    AddStudent(db, 1, studentID);
    AddStudent(db, 2, otherStudentID);

    {
        TLoginDriver first(&db.Query());
        first.Login(typedUser, QStringLiteral("anything at all"));
        // No password yet: let in, and asked for one in the same window.
        QVERIFY(first.Form->isVisible());
        QCOMPARE(first.Form->LoginMode(), int(ModeChangePassword));
        QVERIFY(first.Form->NoPassword);
        QVERIFY(first.Form->NvMaskEdit_Password->text().isEmpty());

        first.ChangePassword(QString(), newPassword, newPassword);
        QVERIFY(first.ClosedAsLogin());
        QCOMPARE(first.Form->UserName(), typedUser); // as typed, not as stored
        QVERIFY(TDialogSeam::Shown().isEmpty());
    }

    const QString stored = StoredPassword(db, 1);
    QVERIFY2(stored.startsWith(QLatin1String("$argon2id$")), qPrintable(stored));
    QVERIFY(PasswordIsNull(db, 2));

    {
        TLoginDriver next(&db.Query());
        next.Login(typedUser, newPassword);
        QVERIFY(next.ClosedAsLogin());
        QVERIFY(!next.Form->NoPassword);
    }
    {
        TLoginDriver wrong(&db.Query());
        wrong.Login(studentID, newPassword + QLatin1Char('x'));
        QVERIFY(wrong.Form->isVisible());
        QCOMPARE(wrong.Form->LoginMode(), int(ModeLogin));
        QCOMPARE(TDialogSeam::LastText(), TForm_Login::InvalidLoginMessage);
    }
    // Neither the later login nor the refused one touched the stored values.
    QCOMPARE(StoredPassword(db, 1), stored);
    QCOMPARE(PasswordIsNull(db, 2), true);
}

void TestLogin::refusedLogins_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("wrong password") << "S01"
                                    << "pear";
    QTest::newRow("password in another letter case") << "S01"
                                                     << "APPLE";
    QTest::newRow("unknown user") << "S99"
                                  << "apple";
    QTest::newRow("wildcard as user name") << "%"
                                           << "apple";
    QTest::newRow("statement in user name") << "' OR PWORD IS NULL OR '"
                                            << "x";
    QTest::newRow("statement in password") << "S01"
                                           << "' OR '1'='1";
    QTest::newRow("empty user name") << ""
                                     << "";
}

void TestLogin::refusedLogins()
{
    QFETCH(QString, user);
    QFETCH(QString, password);

    TTestDatabase db;
    AddStudent(db, 1, QStringLiteral("S01"), HashPassword(QStringLiteral("apple")).toUtf8().constData());
    AddStudent(db, 2, QStringLiteral("S02"), "C4D3D3CFC8"); // "apple", older form
    AddStudent(db, 3, QStringLiteral("S03"), ScramblePassword(QStringLiteral("fig")).toUtf8().constData());
    const QString before = StoredPassword(db, 1);

    TLoginDriver driver(&db.Query());
    driver.Login(user, password);

    QVERIFY(driver.Form->isVisible());
    QCOMPARE(driver.Form->LoginMode(), int(ModeLogin));
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    const TShownBox box = TDialogSeam::Shown().first();
    QCOMPARE(int(box.Kind), int(TBoxKind::MessageDialog));
    QCOMPARE(box.DlgType, int(MsgWarning));
    QCOMPARE(box.Buttons, int(BtnOK));
    QCOMPARE(box.Text, QStringLiteral("The user name and password combination is not valid. Please re-enter the "
                                      "user name and password to continue."));
    // The window keeps what was typed for another try.
    QCOMPARE(driver.Form->UserName(), user);
    QCOMPARE(driver.Form->NvMaskEdit_Password->text(), password);
    QCOMPARE(StoredPassword(db, 1), before);
    QCOMPARE(StoredPassword(db, 2), QStringLiteral("C4D3D3CFC8"));

    // Another try with the right password succeeds in the same window.
    driver.Login(QStringLiteral("s01"), QStringLiteral("apple"));
    QVERIFY(driver.ClosedAsLogin());
}

void TestLogin::legacyPasswordIsReplacedByHash()
{
    TTestDatabase db;
    AddStudent(db, 1, QStringLiteral("S01"), "C4D3D3CFC8"); // "apple"
    AddStudent(db, 2, QStringLiteral("S02"), "C4D3D3CFC8");
    AddStudent(db, 3, QStringLiteral("S03"), ""); // the older form of the empty password

    {
        TLoginDriver wrong(&db.Query());
        wrong.Login(QStringLiteral("S01"), QStringLiteral("pear"));
        QVERIFY(wrong.Form->isVisible());
        QCOMPARE(StoredPassword(db, 1), QStringLiteral("C4D3D3CFC8"));
    }
    TDialogSeam::ClearShown();
    {
        TLoginDriver legacy(&db.Query());
        legacy.Login(QStringLiteral("s01"), QStringLiteral("apple"));
        QVERIFY(legacy.ClosedAsLogin());
    }
    const QString upgraded = StoredPassword(db, 1);
    QVERIFY2(upgraded.startsWith(QLatin1String("$argon2id$")), qPrintable(upgraded));
    QVERIFY(PasswordVerifies(upgraded, QStringLiteral("apple")));
    QCOMPARE(StoredPassword(db, 2), QStringLiteral("C4D3D3CFC8")); // only the one who logged in

    {
        TLoginDriver again(&db.Query());
        again.Login(QStringLiteral("S01"), QStringLiteral("apple"));
        QVERIFY(again.ClosedAsLogin());
        QCOMPARE(StoredPassword(db, 1), upgraded); // a current hash is left alone
    }
    {
        // Salted: the same password of another student is stored differently.
        TLoginDriver other(&db.Query());
        other.Login(QStringLiteral("S02"), QStringLiteral("apple"));
        QVERIFY(other.ClosedAsLogin());
        QVERIFY(StoredPassword(db, 2).startsWith(QLatin1String("$argon2id$")));
        QVERIFY(StoredPassword(db, 2) != upgraded);
    }
    {
        TLoginDriver empty(&db.Query());
        empty.Login(QStringLiteral("S03"), QString());
        QVERIFY(empty.ClosedAsLogin());
        QVERIFY(!empty.Form->NoPassword);
        QVERIFY(StoredPassword(db, 3).startsWith(QLatin1String("$argon2id$")));
    }
    QVERIFY(TDialogSeam::Shown().isEmpty());
}

void TestLogin::changePasswordChecks_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message"); // empty: saved
    const QString oldWrong =
        QStringLiteral("The old password you entered is not valid.  Please re-enter the old password to continue.");
    const QString mismatch = QStringLiteral("The new password and password confirmation do not match.  Please "
                                            "re-enter the new and confirm password to continue.");
    QTest::newRow("saved") << "apple"
                           << "kiwi"
                           << "kiwi" << QString();
    QTest::newRow("old password wrong") << "pear"
                                        << "kiwi"
                                        << "kiwi" << oldWrong;
    QTest::newRow("old password wrong and new ones differ") << "pear"
                                                            << "kiwi"
                                                            << "lime" << oldWrong;
    QTest::newRow("new ones differ in letter case") << "apple"
                                                    << "kiwi"
                                                    << "Kiwi" << mismatch;
    QTest::newRow("confirm left empty") << "apple"
                                        << "kiwi"
                                        << "" << mismatch;
    QTest::newRow("trailing blank") << "apple"
                                    << "kiwi"
                                    << "kiwi " << mismatch;
}

void TestLogin::changePasswordChecks()
{
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirm);
    QFETCH(QString, message);

    TTestDatabase db;
    AddStudent(db, 1, QStringLiteral("S01"), "C4D3D3CFC8"); // "apple"
    TForm_Login form(&db.Query());
    form.NvMaskEdit_UserName->setText(QStringLiteral("S01"));
    form.SetLoginMode(ModeChangePassword);
    form.show();
    form.NvMaskEdit_Password->setText(oldPassword);
    form.NvMaskEdit_NewPassword->setText(newPassword);
    form.NvMaskEdit_ConfirmPassword->setText(confirm);
    QTest::mouseClick(form.BitBtn_OK, Qt::LeftButton);

    if (message.isEmpty()) {
        QVERIFY(!form.isVisible());
        QVERIFY(!form.Cancelled);
        QVERIFY(TDialogSeam::Shown().isEmpty());
        QVERIFY(PasswordVerifies(StoredPassword(db, 1), newPassword));
        QVERIFY(!PasswordVerifies(StoredPassword(db, 1), oldPassword));
    } else {
        QVERIFY(form.isVisible());
        QCOMPARE(form.LoginMode(), int(ModeChangePassword));
        QCOMPARE(TDialogSeam::Shown().size(), 1);
        QCOMPARE(TDialogSeam::Shown().first().DlgType, int(MsgWarning));
        QCOMPARE(TDialogSeam::LastText(), message);
        // Still the old password (the old-password check may have renewed its form).
        QVERIFY(PasswordVerifies(StoredPassword(db, 1), QStringLiteral("apple")));
    }
}

void TestLogin::secondLoginCannotClobberFirst()
{
    TTestDatabase db;
    AddStudent(db, 1, QStringLiteral("S03"));

    // A second copy of the program on the same file.
    TDbConnection otherConnection;
    otherConnection.SetConnectionString(ConnectionStringFor(db.Path()));
    TDbQuery otherQuery(&otherConnection);

    TLoginDriver slow(&db.Query());
    slow.Login(QStringLiteral("S03"), QStringLiteral("x"));
    QCOMPARE(slow.Form->LoginMode(), int(ModeChangePassword));
    slow.Form->NvMaskEdit_NewPassword->setText(QStringLiteral("second"));
    slow.Form->NvMaskEdit_ConfirmPassword->setText(QStringLiteral("second"));

    TLoginDriver fast(&otherQuery);
    fast.Login(QStringLiteral("S03"), QStringLiteral("y"));
    fast.ChangePassword(QString(), QStringLiteral("first"), QStringLiteral("first"));
    QVERIFY(fast.ClosedAsLogin());

    // The slower window's save no longer finds the password it was given.
    QVERIFY(!slow.Form->SavePassword());
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().DlgType, int(MsgError));
    QVERIFY(TDialogSeam::LastText().startsWith(TForm_Login::PasswordChangedElsewhereMessage + "\r\n\r\n"));
    QVERIFY(TDialogSeam::LastText().contains(QStringLiteral("WHERE STUDENTID='S03'")));
    QVERIFY(PasswordVerifies(StoredPassword(db, 1), QStringLiteral("first")));

    // Through the window, the same race ends at the old-password check.
    TDialogSeam::ClearShown();
    QTest::mouseClick(slow.Form->BitBtn_OK, Qt::LeftButton);
    QVERIFY(slow.Form->isVisible());
    QCOMPARE(TDialogSeam::LastText(), TForm_Login::InvalidOldPasswordMessage);
    QVERIFY(PasswordVerifies(StoredPassword(db, 1), QStringLiteral("first")));
}

void TestLogin::cancelInEitherLayout_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("how"); // 0 Cancel button, 1 Escape, 2 close box
    for (int mode : {int(ModeLogin), int(ModeChangePassword)}) {
        const char *name = mode == ModeLogin ? "login" : "change password";
        QTest::newRow(QByteArray(name).append(", Cancel")) << mode << 0;
        QTest::newRow(QByteArray(name).append(", Escape")) << mode << 1;
        QTest::newRow(QByteArray(name).append(", close box")) << mode << 2;
    }
}

void TestLogin::cancelInEitherLayout()
{
    QFETCH(int, mode);
    QFETCH(int, how);

    TTestDatabase db;
    AddStudent(db, 1, QStringLiteral("S03"));
    TLoginDriver driver(&db.Query());
    if (mode == ModeChangePassword) {
        driver.Login(QStringLiteral("S03"), QString());
        QCOMPARE(driver.Form->LoginMode(), int(ModeChangePassword));
        driver.Form->NvMaskEdit_NewPassword->setText(QStringLiteral("a"));
        driver.Form->NvMaskEdit_ConfirmPassword->setText(QStringLiteral("b"));
    } else {
        // A refused try first: OK has cleared the flag, and cancelling must still close.
        driver.Login(QStringLiteral("nobody"), QString());
        QVERIFY(driver.Form->isVisible());
    }
    TDialogSeam::ClearShown();

    if (how == 0)
        QTest::mouseClick(driver.Form->BitBtn_Cancel, Qt::LeftButton);
    else if (how == 1)
        QTest::keyClick(driver.Form.get(), Qt::Key_Escape);
    else
        driver.Form->close();

    QVERIFY(!driver.Form->isVisible());
    QVERIFY(driver.Form->Cancelled);
    QCOMPARE(driver.Form->result(), int(QDialog::Rejected));
    QVERIFY(TDialogSeam::Shown().isEmpty());
    QVERIFY(PasswordIsNull(db, 1));
}

void TestLogin::databaseCannotBeOpened()
{
    QTemporaryDir dir;
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(dir.filePath(QStringLiteral("Corvella.mdb"))));
    TDbQuery query(&connection);

    TLoginDriver driver(&query);
    driver.Login(QStringLiteral("S01"), QStringLiteral("apple"));

    QVERIFY(driver.Form->isVisible());
    QVERIFY(!connection.Connected());
    const QList<TShownBox> errors = BoxesOfKind(TBoxKind::Error);
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().Text.contains(QStringLiteral("Corvella.mdb")), qPrintable(errors.first().Text));

    // The same happens in the change-password layout.
    TDialogSeam::ClearShown();
    driver.Form->SetLoginMode(ModeChangePassword);
    QTest::mouseClick(driver.Form->BitBtn_OK, Qt::LeftButton);
    QVERIFY(driver.Form->isVisible());
    QCOMPARE(BoxesOfKind(TBoxKind::Error).size(), 1);
}

void TestLogin::passwordCannotBeSaved()
{
    TTestDatabase db;
    AddStudent(db, 1, QStringLiteral("S'03"));
    AddStudent(db, 2, QStringLiteral("S04"), "C4D3D3CFC8"); // "apple", older form

    TDbConnection readOnly;
    readOnly.SetConnectionString(ConnectionStringFor(db.Path()));
    readOnly.SetReadOnly(true);
    TDbQuery query(&readOnly);

    {
        TLoginDriver driver(&query);
        driver.Login(QStringLiteral("S'03"), QString());
        driver.ChangePassword(QString(), QStringLiteral("new"), QStringLiteral("new"));
        // Logged in all the same; the failure is shown with its statement.
        QVERIFY(driver.ClosedAsLogin());
        QCOMPARE(TDialogSeam::Shown().size(), 1);
        const TShownBox box = TDialogSeam::Shown().first();
        QCOMPARE(box.DlgType, int(MsgError));
        QCOMPARE(box.Buttons, int(BtnOK));
        const QStringList parts = box.Text.split(QStringLiteral("\r\n\r\n"));
        QVERIFY2(parts.size() >= 2 && !parts.first().isEmpty(), qPrintable(box.Text));
        // The statement is shown without the new hash.
        QVERIFY(box.Text.contains(QStringLiteral("UPDATE studentmaster\r\nSET PWORD='********'")));
        QVERIFY(!box.Text.contains(QStringLiteral("$argon2")));
        QVERIFY(box.Text.contains(QStringLiteral("WHERE STUDENTID='S''03'\r\nAND PWORD IS NULL")));
    }
    QVERIFY(PasswordIsNull(db, 1)); // so the next login asks again

    // An older password that cannot be replaced still lets the student in.
    TDialogSeam::ClearShown();
    TLoginDriver legacy(&query);
    legacy.Login(QStringLiteral("S04"), QStringLiteral("apple"));
    QVERIFY(legacy.ClosedAsLogin());
    QCOMPARE(BoxesOfKind(TBoxKind::MessageDialog).size(), 1);
    QCOMPARE(StoredPassword(db, 2), QStringLiteral("C4D3D3CFC8"));
}

void TestLogin::modalSequence()
{
    TTestDatabase db;
    AddStudent(db, 1, QStringLiteral("S03"));
    TForm_Login form(&db.Query());
    form.SetLoginMode(ModeLogin);

    // Shown modally as the program shows it: a wrong try, the first login, the new password.
    int steps = 0;
    QTimer::singleShot(0, &form, [&] {
        form.NvMaskEdit_UserName->setText(QStringLiteral("S04"));
        QTest::mouseClick(form.BitBtn_OK, Qt::LeftButton);
        ++steps;
        form.NvMaskEdit_UserName->setText(QStringLiteral("s03"));
        QTest::keyClick(form.NvMaskEdit_Password, Qt::Key_Return);
        ++steps;
        form.NvMaskEdit_NewPassword->setText(QStringLiteral("kiwi"));
        form.NvMaskEdit_ConfirmPassword->setText(QStringLiteral("kiwi"));
        QTest::keyClick(form.NvMaskEdit_ConfirmPassword, Qt::Key_Return);
        ++steps;
    });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QCOMPARE(steps, 3);
    QVERIFY(!form.Cancelled);
    QCOMPARE(form.UserName(), QStringLiteral("s03"));
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QVERIFY(PasswordVerifies(StoredPassword(db, 1), QStringLiteral("kiwi")));
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
