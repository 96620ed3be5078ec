// Typing a date into the date picker as people type dates: at speed, with or without
// separators; a text that is no date is refused with a message, never turned into
// another date.

#include "toolkit/Convert.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/StdDialogs.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

class TestDateTyping : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typedDateIsTaken_data();
    void typedDateIsTaken();
    void textThatIsNoDateIsRefused_data();
    void textThatIsNoDateIsRefused();
    void escapeGivesUpTheTyping();
    void calendarOpensByKeyboard();

private:
    void TypeInto(const QString &text);

    std::unique_ptr<QWidget> Window;
    TDateTimePicker *Picker = nullptr;
    QLineEdit *Other = nullptr;
};

void TestDateTyping::init()
{
    TDialogSeam::BeginScript();
    SetShortDateFormat(QStringLiteral("M/d/yyyy"));
    Window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(Window.get());
    Picker = new TDateTimePicker(Window.get());
    Other = new QLineEdit(Window.get());
    layout->addWidget(Picker);
    layout->addWidget(Other);
    Picker->SetDate(DateToDayNumber(QDate(2003, 2, 15)));
    Window->show();
    QApplication::setActiveWindow(Window.get());
    QVERIFY(QTest::qWaitForWindowActive(Window.get()));
}

void TestDateTyping::cleanup()
{
    Window.reset();
    TDialogSeam::EndScript();
    SetShortDateFormat(QString());
}

void TestDateTyping::TypeInto(const QString &text)
{
    Picker->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(Picker->hasFocus());
    QTest::keyClicks(Picker, text);
}

void TestDateTyping::typedDateIsTaken_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("finish");
    QTest::addColumn<QDate>("expected");
    const QString mdy = QStringLiteral("M/d/yyyy");
    QTest::newRow("with separators, leaving") << mdy << QStringLiteral("08/05/1945") << "leave" << QDate(1945, 8, 5);
    QTest::newRow("with separators, Enter") << mdy << QStringLiteral("09/11/1989") << "enter" << QDate(1989, 9, 11);
    QTest::newRow("without leading zeros") << mdy << QStringLiteral("8/5/1945") << "leave" << QDate(1945, 8, 5);
    QTest::newRow("digits only") << mdy << QStringLiteral("08051945") << "leave" << QDate(1945, 8, 5);
    QTest::newRow("dashes") << mdy << QStringLiteral("12-31-1999") << "enter" << QDate(1999, 12, 31);
    QTest::newRow("two-digit year") << mdy << QStringLiteral("7/4/76") << "leave" << QDate(1976, 7, 4);
    QTest::newRow("day first, dots") << QStringLiteral("dd.MM.yyyy") << QStringLiteral("08.05.1945") << "leave"
                                     << QDate(1945, 5, 8);
    QTest::newRow("day first, digits only")
        << QStringLiteral("dd/MM/yyyy") << QStringLiteral("09111989") << "enter" << QDate(1989, 11, 9);
    QTest::newRow("a month alone, in the month part") << mdy << QStringLiteral("12") << "leave" << QDate(2003, 12, 15);
    QTest::newRow("corrected with Backspace") << mdy << QStringLiteral("08/06\b5/1945") << "leave" << QDate(1945, 8, 5);
    QTest::newRow("typed over after Home") << mdy
                                           << QStringLiteral("08/05/1945\x01"
                                                             "09/06")
                                           << "leave" << QDate(1945, 9, 6);
}

void TestDateTyping::typedDateIsTaken()
{
    QFETCH(QString, format);
    QFETCH(QString, typed);
    QFETCH(QString, finish);
    QFETCH(QDate, expected);
    SetShortDateFormat(format);
    Picker->SetDateFormat(dfLong);
    Picker->SetDateFormat(dfShort);
    Picker->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(Picker->hasFocus());
    for (QChar c : typed) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(Picker, Qt::Key_Backspace);
        else if (c == QChar(1))
            QTest::keyClick(Picker, Qt::Key_Home);
        else
            QTest::keyClicks(Picker, QString(c));
    }
    if (finish == QLatin1String("enter"))
        QTest::keyClick(Picker, Qt::Key_Return);
    else
        Other->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QCOMPARE(Picker->PickedDate(), expected);
    QCOMPARE(Picker->date(), expected);
    QCOMPARE(Picker->text(), expected.toString(format));
    QVERIFY(TDialogSeam::Shown().isEmpty());
}

void TestDateTyping::textThatIsNoDateIsRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("month 13") << QStringLiteral("13/05/1945");
    QTest::newRow("31 April") << QStringLiteral("4/31/2001");
    QTest::newRow("year missing") << QStringLiteral("08/05");
    QTest::newRow("too few digits") << QStringLiteral("0805194");
    QTest::newRow("three-digit year") << QStringLiteral("8/5/194");
}

void TestDateTyping::textThatIsNoDateIsRefused()
{
    QFETCH(QString, typed);
    TypeInto(typed);
    Other->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::LastText(), QLatin1Char('"') + typed + QStringLiteral("\" is not a valid date."));
    // Not another date: the one it had.
    QCOMPARE(Picker->PickedDate(), QDate(2003, 2, 15));
    QCOMPARE(Picker->text(), QStringLiteral("2/15/2003"));
}

void TestDateTyping::escapeGivesUpTheTyping()
{
    TypeInto(QStringLiteral("01/01/19"));
    QTest::keyClick(Picker, Qt::Key_Escape);
    QCOMPARE(Picker->PickedDate(), QDate(2003, 2, 15));
    QCOMPARE(Picker->text(), QStringLiteral("2/15/2003"));
    QVERIFY(TDialogSeam::Shown().isEmpty());
}

// F4 and Alt+Down open the calendar; Escape closes it and leaves the date as it was.
void TestDateTyping::calendarOpensByKeyboard()
{
    QVERIFY(Picker->calendarPopup());
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_F4), QKeyCombination(Qt::AltModifier, Qt::Key_Down)}) {
        Picker->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(Picker->hasFocus());
        QTest::keyClick(Picker, key.key(), key.keyboardModifiers());
        QCalendarWidget *calendar = Picker->calendarWidget();
        QTRY_VERIFY(calendar->isVisible());
        QTest::keyClick(calendar, Qt::Key_Escape);
        QTRY_VERIFY(!calendar->isVisible());
        QCOMPARE(Picker->PickedDate(), QDate(2003, 2, 15));
    }
}

QTEST_MAIN(TestDateTyping)
#include "tst_datetyping.moc"
