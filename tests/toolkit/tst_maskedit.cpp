#include "toolkit/Convert.h"
#include "toolkit/EditMask.h"
#include "toolkit/MaskEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

class TestMaskEdit : public QObject {
    Q_OBJECT

private slots:
    void init() { SetShortDateFormat(QStringLiteral("dd/MM/yyyy")); }
    void cleanupTestCase() { SetShortDateFormat(QString()); }

    void typing_data();
    void typing();
    void setText_data();
    void setText();
    void valueSurvivesSetText();
    void randomEditing();
    void pasteIntoMask_data();
    void pasteIntoMask();
    void clipboardPaste();
    void backspaceAndDelete();
    void cursorSkipsLiterals();
    void changeSignal();
    void maskChangeKeepsValue();
    void malformedMasks_data();
    void malformedMasks();
    void charCaseWithoutMask();
    void maxLengthAndPassword();
    void autoSelect();
};

void TestMaskEdit::typing_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("dateFormat");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("editText");

    const QString slash = QStringLiteral("dd/MM/yyyy");
    const QString phone = QStringLiteral("!\\(999\\)999-9999;1;");
    const QString longTime = QStringLiteral("!99:99:99>ll;1;");
    // The seven sample masks of the mask editor.
    QTest::newRow("phone") << phone << slash << "1234567890"
                           << "(123)456-7890"
                           << "(123)456-7890";
    QTest::newRow("social security") << "999\\-99\\-9999;1;" << slash << "123456789"
                                     << "123-45-6789"
                                     << "123-45-6789";
    QTest::newRow("short zip") << "99999;1;" << slash << "12345"
                               << "12345"
                               << "12345";
    QTest::newRow("long zip") << "99999\\-9999;1;" << slash << "123456789"
                              << "12345-6789"
                              << "12345-6789";
    QTest::newRow("date") << "!99/99/9999;1;" << slash << "01012000"
                          << "01/01/2000"
                          << "01/01/2000";
    QTest::newRow("long time") << longTime << slash << "012334pm"
                               << "01:23:34PM"
                               << "01:23:34PM";
    QTest::newRow("short time") << "!99:99;1;" << slash << "0123"
                                << "01:23"
                                << "01:23";

    // The date separator follows the short date format.
    QTest::newRow("date, dots") << "!99/99/9999;1;"
                                << "dd.MM.yyyy"
                                << "01012000"
                                << "01.01.2000"
                                << "01.01.2000";

    // Literals dropped from the value.
    QTest::newRow("social security ;0") << "999\\-99\\-9999;0;" << slash << "123456789"
                                        << "123456789"
                                        << "123-45-6789";
    QTest::newRow("partial ;0") << "999\\-99\\-9999;0;" << slash << "12345"
                                << "12345"
                                << "123-45-____";
    QTest::newRow("no fields keeps literals") << "99-99" << slash << "1234"
                                              << "12-34"
                                              << "12-34";
    QTest::newRow("field 0 without blank") << "99-99;0" << slash << "1234"
                                           << "1234"
                                           << "12-34";

    // Rejected characters take no position.
    QTest::newRow("phone, letters") << phone << slash << "12a3b4567890"
                                    << "(123)456-7890"
                                    << "(123)456-7890";
    QTest::newRow("long time, digit for letter") << longTime << slash << "0123345pm"
                                                 << "01:23:34PM"
                                                 << "01:23:34PM";
    QTest::newRow("required digit, sign") << "099;1;" << slash << "-12"
                                          << "12"
                                          << "12_";
    QTest::newRow("digit or sign") << "#99;1;" << slash << "-12"
                                   << "-12"
                                   << "-12";
    QTest::newRow("alphanumeric") << "AAaa;1;" << slash << "a1-b2"
                                  << "a1b2"
                                  << "a1b2";
    QTest::newRow("letters") << "Ll;1;" << slash << "1x2y"
                             << "xy"
                             << "xy";
    QTest::newRow("any character") << "CCc;1;" << slash << "a-%"
                                   << "a-%"
                                   << "a-%";

    // Blanks left by partial input are left out of the value.
    QTest::newRow("phone, partial") << phone << slash << "12345"
                                    << "(123)45-"
                                    << "(123)45_-____";
    QTest::newRow("short time, partial") << "!99:99;1;" << slash << "1"
                                         << "1:"
                                         << "1_:__";
    QTest::newRow("nothing typed") << phone << slash << ""
                                   << ""
                                   << "(___)___-____";
    QTest::newRow("own blank") << "99-99;1;*" << slash << "1"
                               << "1-"
                               << "1*-**";
    QTest::newRow("space blank") << "99-99;0; " << slash << "12"
                                 << "12"
                                 << "12-  ";

    // Case conversion and escapes.
    QTest::newRow("lower") << "<LLL;1;" << slash << "ABC"
                           << "abc"
                           << "abc";
    QTest::newRow("upper, none, lower") << ">L<>L<L;1;" << slash << "aBC"
                                        << "ABc"
                                        << "ABc";
    QTest::newRow("escaped mask characters") << "\\L\\00;1;" << slash << "5"
                                             << "L05"
                                             << "L05";
    QTest::newRow("escaped backslash") << "\\\\0;1;" << slash << "7"
                                       << "\\7"
                                       << "\\7";
    QTest::newRow("escaped semicolon") << "9\\;9;0;" << slash << "12"
                                       << "12"
                                       << "1;2";
    QTest::newRow("underscore is a space") << "99_99;1;" << slash << "1234"
                                           << "12 34"
                                           << "12 34";
}

void TestMaskEdit::typing()
{
    QFETCH(QString, mask);
    QFETCH(QString, dateFormat);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QString, editText);

    SetShortDateFormat(dateFormat);
    TMaskEdit edit;
    edit.SetEditMask(mask);
    QTest::keyClicks(&edit, typed);
    QCOMPARE(edit.EditText(), editText);
    QCOMPARE(edit.Text(), text);
    QCOMPARE(edit.text(), editText);
    QCOMPARE(edit.EditMask(), mask);
}

void TestMaskEdit::setText_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("editText");
    QTest::addColumn<QString>("text");

    const QString phone = QStringLiteral("!\\(999\\)999-9999;1;");
    const QString ssn0 = QStringLiteral("999\\-99\\-9999;0;");
    // '!' lays the value in from the right, leaving the leading positions blank.
    QTest::newRow("left-aligned") << "99:99;1;"
                                  << "1:23"
                                  << "1_:23"
                                  << "1:23";
    QTest::newRow("right-aligned") << "!99:99;1;"
                                   << "1:23"
                                   << "_1:23"
                                   << "1:23";
    QTest::newRow("short, left") << "999;1;"
                                 << "12"
                                 << "12_"
                                 << "12";
    QTest::newRow("short, right") << "!999;1;"
                                  << "12"
                                  << "_12"
                                  << "12";
    QTest::newRow("phone") << phone << "(123)456-7890"
                           << "(123)456-7890"
                           << "(123)456-7890";
    QTest::newRow("phone without literals") << phone << "1234567890"
                                            << "(123)456-7890"
                                            << "(123)456-7890";
    QTest::newRow("phone, tail only") << phone << "4567890"
                                      << "(___)456-7890"
                                      << "()456-7890";
    QTest::newRow(";0 value") << ssn0 << "123456789"
                              << "123-45-6789"
                              << "123456789";
    QTest::newRow(";0 value with literals") << ssn0 << "123-45-6789"
                                            << "123-45-6789"
                                            << "123456789";
    // Without saved literals a value character equal to a literal is no literal.
    QTest::newRow(";0 digit like literal") << "9\\19;0;"
                                           << "11"
                                           << "111"
                                           << "11";
    QTest::newRow("any char before literal") << "cc-cc;1;"
                                             << "a-b"
                                             << "a_-b_"
                                             << "a-b";
    QTest::newRow("sign before literal") << "#9-99;1;"
                                         << "-5-12"
                                         << "-5-12"
                                         << "-5-12";
    QTest::newRow("spaces for blanks") << "!99/99/9999;1;"
                                       << " 1/ 1/2000"
                                       << "_1/_1/2000"
                                       << "1/1/2000";
    QTest::newRow("junk first, left") << "99;1;"
                                      << "x1"
                                      << "1_"
                                      << "1";
    QTest::newRow("junk last, right") << "!99;1;"
                                      << "1x"
                                      << "_1"
                                      << "1";
    QTest::newRow("empty") << "99-99;1;"
                           << ""
                           << "__-__"
                           << "";
    QTest::newRow("no fit") << "999;1;"
                            << "abc"
                            << "___"
                            << "";
    QTest::newRow("case") << ">LL;1;"
                          << "ab"
                          << "AB"
                          << "AB";
}

void TestMaskEdit::setText()
{
    QFETCH(QString, mask);
    QFETCH(QString, value);
    QFETCH(QString, editText);
    QFETCH(QString, text);

    TMaskEdit edit;
    edit.SetEditMask(mask);
    edit.SetText(value);
    QCOMPARE(edit.EditText(), editText);
    QCOMPARE(edit.Text(), text);
    QCOMPARE(FormatMaskText(mask, value), editText);
    // Setting the value read back gives the same value again.
    edit.SetText(edit.Text());
    QCOMPARE(edit.Text(), text);
}

// Any edit text: its value, set again, gives the same value.
void TestMaskEdit::valueSurvivesSetText()
{
    const QStringList masks = {
        "!\\(999\\)999-9999;1;", "999\\-99\\-9999;0;", "!99:99:99>ll;1;", "cc-cc;1;", "#9-99;1;", "!CC/cc;0;",
        "aA-Ll:0;1;*",           "9\\19;0;",           "!c-c-c;1;"};
    const QString pool = QStringLiteral("0123456789abXY-+/:;*_ ");
    QRandomGenerator random(4711);
    for (const QString &maskText : masks) {
        const TEditMask mask(maskText);
        for (int round = 0; round < 300; ++round) {
            QString editText = mask.EmptyEditText();
            for (int pos = 0; pos < mask.Length(); ++pos) {
                const QChar c = pool.at(random.bounded(int(pool.size())));
                if (!mask.IsLiteral(pos) && random.bounded(3) > 0 && mask.Accepts(pos, c))
                    editText[pos] = mask.Convert(pos, c);
            }
            const QString value = mask.Value(editText);
            QVERIFY2(mask.Value(mask.EditTextOf(value)) == value,
                     qPrintable(maskText + QStringLiteral(" / ") + editText));
        }
    }
}

// Random masks and edits, positions out of range included: the edit text keeps
// its length and literals, and holds only blanks and accepted characters.
void TestMaskEdit::randomEditing()
{
    const QString maskPool = QStringLiteral("!><\\09#LlAaCc:/_-;x ");
    const QString textPool = QStringLiteral("05aZ-+ _;:/x\\");
    QRandomGenerator random(1234);
    auto randomText = [&](const QString &pool, int maxLength) {
        QString text;
        for (int i = random.bounded(maxLength + 1); i > 0; --i)
            text.append(pool.at(random.bounded(int(pool.size()))));
        return text;
    };
    for (int round = 0; round < 400; ++round) {
        const TEditMask mask(randomText(maskPool, 14));
        const QString empty = mask.EmptyEditText();
        QString editText = mask.EditTextOf(randomText(textPool, 12));
        for (int step = 0; step < 30; ++step) {
            const int pos = random.bounded(-2, mask.Length() + 3);
            switch (random.bounded(5)) {
            case 0:
                mask.TypeChar(editText, pos, textPool.at(random.bounded(int(textPool.size()))));
                break;
            case 1:
                mask.Backspace(editText, pos);
                break;
            case 2:
                mask.Delete(editText, pos);
                break;
            case 3:
                mask.Clear(editText, pos, pos + random.bounded(4));
                break;
            default:
                mask.Paste(editText, pos, randomText(textPool, 8));
                break;
            }
            QCOMPARE(editText.size(), empty.size());
            for (int p = 0; p < mask.Length(); ++p) {
                if (mask.IsLiteral(p))
                    QCOMPARE(editText.at(p), empty.at(p));
                else
                    QVERIFY(editText.at(p) == mask.BlankChar() || mask.Accepts(p, editText.at(p)));
            }
        }
    }
}

void TestMaskEdit::pasteIntoMask_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("editText");

    const QString phone = QStringLiteral("!\\(999\\)999-9999;1;");
    QTest::newRow("formatted") << phone << "" << 1 << "(555)123-4567"
                               << "(555)123-4567";
    QTest::newRow("spaces and words") << phone << "" << 1 << "555 123 4567 ext"
                                      << "(555)123-4567";
    QTest::newRow("from the cursor") << phone << "1234567890" << 5 << "99"
                                     << "(123)996-7890";
    QTest::newRow("nothing fits") << phone << "1234567890" << 5 << "abc"
                                  << "(123)456-7890";
    QTest::newRow("case") << ">LLL;1;"
                          << "" << 0 << "x1yz"
                          << "XYZ";
}

// Text put in by QLineEdit itself (paste slot, context menu, drops) goes through the mask.
void TestMaskEdit::pasteIntoMask()
{
    QFETCH(QString, mask);
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, pasted);
    QFETCH(QString, editText);

    TMaskEdit edit;
    edit.SetEditMask(mask);
    edit.SetText(before);
    edit.setCursorPosition(cursor);
    const QString old = edit.EditText();
    QSignalSpy changes(&edit, &TMaskEdit::Change);
    edit.insert(pasted);
    QCOMPARE(edit.EditText(), editText);
    QCOMPARE(edit.text(), editText);
    QCOMPARE(changes.count(), old == editText ? 0 : 1);
}

void TestMaskEdit::clipboardPaste()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("12a-3"));
    if (clipboard->text() != QLatin1String("12a-3"))
        QSKIP("No clipboard on this platform");
    TMaskEdit edit;
    edit.SetEditMask(QStringLiteral("999-99;0;"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.EditText(), QStringLiteral("12_-3_"));
    QCOMPARE(edit.Text(), QStringLiteral("123"));
    // Cutting a selection unfills it, literals stay.
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(edit.EditText(), QStringLiteral("___-__"));
    QCOMPARE(clipboard->text(), QStringLiteral("12_-3_"));
    // Undo has nothing to bring back past the mask.
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit.text(), edit.EditText());
    QCOMPARE(edit.Text(), QString());
}

void TestMaskEdit::backspaceAndDelete()
{
    TMaskEdit edit;
    edit.SetEditMask(QStringLiteral("!\\(999\\)999-9999;1;"));
    QTest::keyClicks(&edit, QStringLiteral("1234"));
    QCOMPARE(edit.EditText(), QStringLiteral("(123)4__-____"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.EditText(), QStringLiteral("(123)___-____"));
    // Backspace skips the literal and clears the digit before it.
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.EditText(), QStringLiteral("(12_)___-____"));
    QCOMPARE(edit.Text(), QStringLiteral("(12)-"));
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QCOMPARE(edit.EditText(), QStringLiteral("(_2_)___-____"));
    QTest::keyClicks(&edit, QStringLiteral("98"));
    QCOMPARE(edit.EditText(), QStringLiteral("(98_)___-____"));
    // A selection is cleared as a whole; typing over it starts at its beginning.
    edit.selectAll();
    QTest::keyClicks(&edit, QStringLiteral("5"));
    QCOMPARE(edit.EditText(), QStringLiteral("(5__)___-____"));
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Delete);
    QCOMPARE(edit.Text(), QString());
    // Read-only: nothing is typed or deleted.
    edit.SetText(QStringLiteral("1234567890"));
    edit.SetReadOnly(true);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClicks(&edit, QStringLiteral("9"));
    QCOMPARE(edit.Text(), QStringLiteral("(123)456-7890"));
}

void TestMaskEdit::cursorSkipsLiterals()
{
    TEditMask mask(QStringLiteral("!\\(999\\)999-9999;1;"));
    TMaskEdit edit;
    edit.SetEditMask(mask.Mask());
    edit.SetText(QStringLiteral("1234567890"));
    QTest::keyClick(&edit, Qt::Key_Home);
    QCOMPARE(edit.cursorPosition(), 1);
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(&edit, Qt::Key_Right);
        QVERIFY(edit.cursorPosition() == mask.Length() || !mask.IsLiteral(edit.cursorPosition()));
    }
    QCOMPARE(edit.cursorPosition(), mask.Length());
    int previous = edit.cursorPosition();
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(&edit, Qt::Key_Left);
        QVERIFY(!mask.IsLiteral(edit.cursorPosition()));
        QVERIFY(edit.cursorPosition() <= previous);
        previous = edit.cursorPosition();
    }
    QCOMPARE(edit.cursorPosition(), 1);
}

void TestMaskEdit::changeSignal()
{
    TMaskEdit edit;
    edit.SetEditMask(QStringLiteral("99999;1;"));
    QSignalSpy changes(&edit, &TMaskEdit::Change);
    QTest::keyClicks(&edit, QStringLiteral("1x2"));
    QCOMPARE(changes.count(), 2);
    edit.SetText(edit.Text());
    QCOMPARE(changes.count(), 2);
    edit.SetText(QStringLiteral("5"));
    QCOMPARE(changes.count(), 3);
    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(changes.count(), 3); // the last position was already blank
    edit.SetEditMask(QString()); // "5____" becomes "5"
    QCOMPARE(changes.count(), 4);
    edit.SetText(QStringLiteral("plain"));
    QTest::keyClicks(&edit, QStringLiteral("ab"));
    QCOMPARE(changes.count(), 7);
}

void TestMaskEdit::maskChangeKeepsValue()
{
    TMaskEdit edit;
    edit.SetText(QStringLiteral("12345"));
    edit.SetEditMask(QStringLiteral("99999\\-9999;1;"));
    QCOMPARE(edit.EditText(), QStringLiteral("12345-____"));
    QCOMPARE(edit.Text(), QStringLiteral("12345-"));
    edit.SetEditMask(QStringLiteral("99999\\-9999;0;"));
    QCOMPARE(edit.Text(), QStringLiteral("12345"));
    edit.SetEditMask(QString());
    QCOMPARE(edit.Text(), QStringLiteral("12345"));
    QCOMPARE(edit.EditText(), QStringLiteral("12345"));
}

void TestMaskEdit::malformedMasks_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("masked");
    QTest::addColumn<QString>("editText");

    QTest::newRow("trailing backslash") << "99\\" << true << "__";
    QTest::newRow("only a backslash") << "\\" << false << "";
    QTest::newRow("only directives") << "!><>" << false << "";
    QTest::newRow("fields only") << ";1;_" << false << "";
    QTest::newRow("many semicolons") << "9;;;;" << true << ";";
    QTest::newRow("empty") << "" << false << "";
}

void TestMaskEdit::malformedMasks()
{
    QFETCH(QString, mask);
    QFETCH(bool, masked);
    QFETCH(QString, editText);

    const TEditMask editMask(mask);
    QCOMPARE(editMask.IsMasked(), masked);
    QCOMPARE(editMask.EmptyEditText(), editText);
    TMaskEdit edit;
    edit.SetEditMask(mask);
    QTest::keyClicks(&edit, QStringLiteral("1a;\\"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Delete);
    edit.insert(QStringLiteral("(12)"));
    if (!masked)
        QCOMPARE(edit.Text(), edit.text());
    else
        QCOMPARE(edit.text().size(), editText.size());
}

void TestMaskEdit::charCaseWithoutMask()
{
    TMaskEdit edit;
    edit.SetCharCase(ecUpperCase);
    QTest::keyClicks(&edit, QStringLiteral("abc ß1"));
    QCOMPARE(edit.Text(), QStringLiteral("ABC ß1"));
    edit.insert(QStringLiteral("xy"));
    QCOMPARE(edit.Text(), QStringLiteral("ABC ß1XY"));
    edit.SetText(QStringLiteral("Mixed"));
    QCOMPARE(edit.Text(), QStringLiteral("MIXED"));
    edit.SetCharCase(ecLowerCase);
    QCOMPARE(edit.Text(), QStringLiteral("mixed"));
    QTest::keyClicks(&edit, QStringLiteral("XY"));
    QCOMPARE(edit.Text(), QStringLiteral("mixedxy"));
    edit.SetCharCase(ecNormal);
    QTest::keyClicks(&edit, QStringLiteral("Z"));
    QCOMPARE(edit.Text(), QStringLiteral("mixedxyZ"));
    QCOMPARE(edit.EditText(), edit.Text());
}

void TestMaskEdit::maxLengthAndPassword()
{
    TMaskEdit edit;
    QCOMPARE(edit.MaxLength(), 0);
    QTest::keyClicks(&edit, QString(40, QLatin1Char('x')));
    QCOMPARE(edit.Text().size(), 40);
    edit.SetMaxLength(3);
    // A text set by the program is kept whole; typing cannot lengthen it.
    edit.SetText(QStringLiteral("abcdef"));
    QTest::keyClicks(&edit, QStringLiteral("x"));
    QCOMPARE(edit.Text(), QStringLiteral("abcdef"));
    edit.SetText(QString());
    QTest::keyClicks(&edit, QStringLiteral("abcdef"));
    QCOMPARE(edit.Text(), QStringLiteral("abc"));
    edit.SetText(QStringLiteral("ab"));
    edit.setCursorPosition(1);
    edit.insert(QStringLiteral("123"));
    QCOMPARE(edit.Text(), QStringLiteral("a1b"));
    QCOMPARE(edit.cursorPosition(), 2);
    edit.SetText(QString());
    // A mask decides the length by itself.
    edit.SetEditMask(QStringLiteral("99999;1;"));
    QTest::keyClicks(&edit, QStringLiteral("12345"));
    QCOMPARE(edit.Text(), QStringLiteral("12345"));
    QCOMPARE(edit.MaxLength(), 3);

    QCOMPARE(edit.PasswordChar(), QChar());
    QCOMPARE(edit.echoMode(), QLineEdit::Normal);
    edit.SetPasswordChar(QLatin1Char('*'));
    QCOMPARE(edit.echoMode(), QLineEdit::Password);
    QCOMPARE(edit.Text(), QStringLiteral("12345"));
    edit.SetPasswordChar(QChar());
    QCOMPARE(edit.echoMode(), QLineEdit::Normal);
}

void TestMaskEdit::autoSelect()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *first = new TMaskEdit(&window);
    auto *edit = new TMaskEdit(&window);
    layout->addWidget(first);
    layout->addWidget(edit);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(edit->AutoSelect());

    edit->SetEditMask(QStringLiteral("!99:99;1;"));
    edit->SetText(QStringLiteral("12:34"));
    first->setFocus(Qt::OtherFocusReason);
    edit->setFocus(Qt::OtherFocusReason);
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), QStringLiteral("12:34"));
    // Typing replaces the whole selected answer.
    QTest::keyClicks(edit, QStringLiteral("5"));
    QCOMPARE(edit->EditText(), QStringLiteral("5_:__"));

    edit->SetAutoSelect(false);
    first->setFocus(Qt::TabFocusReason);
    edit->setFocus(Qt::TabFocusReason);
    QVERIFY(edit->hasFocus());
    QVERIFY(!edit->hasSelectedText());
}

QTEST_MAIN(TestMaskEdit)
#include "tst_maskedit.moc"
