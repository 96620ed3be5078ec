#include "common/ModalWindows.h"
#include "common/Rendered.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/StdDialogs.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

namespace {

QStringList ButtonNamesLeftToRight(const TForm_SaveMsg &form)
{
    QList<QPushButton *> buttons = form.Panel_Buttons->findChildren<QPushButton *>();
    std::sort(buttons.begin(), buttons.end(), [](QPushButton *a, QPushButton *b) { return a->x() < b->x(); });
    QStringList names;
    for (QPushButton *b : buttons)
        names << b->objectName();
    return names;
}

QString Lines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("Line %1").arg(i);
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

class TestSaveMsgDlg : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tamberlin")); }
    void init() { TDialogSeam::BeginScript(); }
    void cleanup();

    void buttonRow_data();
    void buttonRow();
    void answers_data();
    void answers();
    void typeCaptionAndIcon_data();
    void typeCaptionAndIcon();
    void sizing_data();
    void sizing();
    void warningsWrapWithinScreen_data();
    void warningsWrapWithinScreen();
    void splitLines_data();
    void splitLines();
    void save_data();
    void save();
    void copyAndCommandKeys();
    void print_data();
    void print();
    void saveMsgDialogScripted();
    void saveMsgDialogShown_data();
    void saveMsgDialogShown();
};

void TestSaveMsgDlg::cleanup()
{
    TDialogSeam::EndScript();
    const bool closed = CloseModalWindows();
    QVERIFY2(closed, "a modal window refused to close");
}

void TestSaveMsgDlg::buttonRow_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("defaultName");

    QTest::newRow("no button gets OK") << 0 << QStringList{"Button_OK"} << "Button_OK";
    QTest::newRow("Yes No") << (BtnYes | BtnNo) << QStringList{"Button_Yes", "Button_No"} << "Button_Yes";
    QTest::newRow("Yes No Cancel") << (BtnYes | BtnNo | BtnCancel)
                                   << QStringList{"Button_Yes", "Button_No", "Button_Cancel"} << "Button_Yes";
    QTest::newRow("All before OK in the caller's mind")
        << (BtnAll | BtnOK) << QStringList{"Button_OK", "Button_All"} << "Button_OK";
    QTest::newRow("Abort Retry Ignore") << (BtnAbort | BtnRetry | BtnIgnore)
                                        << QStringList{"Button_Abort", "Button_Retry", "Button_Ignore"} << QString();
    QTest::newRow("every button") << 255
                                  << QStringList{"Button_OK",    "Button_Yes",   "Button_No",     "Button_Cancel",
                                                 "Button_Abort", "Button_Retry", "Button_Ignore", "Button_All"}
                                  << "Button_OK";
    QTest::newRow("unknown bits ignored") << (0x300 | BtnNo) << QStringList{"Button_No"} << QString();
}

void TestSaveMsgDlg::buttonRow()
{
    QFETCH(int, buttons);
    QFETCH(QStringList, names);
    QFETCH(QString, defaultName);

    TForm_SaveMsg form(QStringLiteral("Message"), MsgConfirm, buttons);
    QCOMPARE(ButtonNamesLeftToRight(form), names);
    for (int i = 0; i < names.size(); ++i) {
        auto *button = form.Panel_Buttons->findChild<QPushButton *>(names[i]);
        QCOMPARE(button->geometry(), QRect(2 + 77 * i, 4, 75, button->height()));
        QCOMPARE(button->isDefault(), names[i] == defaultName);
    }
    QCOMPARE(form.ButtonRowWidth(), 2 + 77 * (int(names.size()) - 1) + 75 + 4);
}

void TestSaveMsgDlg::answers_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("action"); // a button's name, "Return", "Return on <name>", "Escape" or "close"
    QTest::addColumn<int>("expected"); // ResultNone: the window stays open
    QTest::addColumn<QString>("caption");

    const struct {
        const char *Name;
        int Result;
        const char *Caption;
    } each[] = {
        {"Button_OK", ResultOK, "OK"},
        {"Button_Yes", ResultYes, "&Yes"},
        {"Button_No", ResultNo, "&No"},
        {"Button_Cancel", ResultCancel, "Cancel"},
        {"Button_Abort", ResultAbort, "Abort"},
        {"Button_Retry", ResultRetry, "&Retry"},
        {"Button_Ignore", ResultIgnore, "&Ignore"},
        {"Button_All", ResultAll, "&All"},
    };
    for (const auto &e : each)
        QTest::newRow(e.Name) << 255 << e.Name << e.Result << e.Caption;

    const int yesNo = BtnYes | BtnNo, yesNoCancel = BtnYes | BtnNo | BtnCancel;
    const int abortRetryIgnore = BtnAbort | BtnRetry | BtnIgnore;
    QTest::newRow("Return in OK") << int(BtnOK) << "Return" << int(ResultOK) << "";
    QTest::newRow("Escape in OK closes") << int(BtnOK) << "Escape" << int(ResultCancel) << "";
    QTest::newRow("Return in Yes No") << yesNo << "Return" << int(ResultYes) << "";
    QTest::newRow("Escape in Yes No") << yesNo << "Escape" << int(ResultNo) << "";
    QTest::newRow("Escape in Yes No Cancel") << yesNoCancel << "Escape" << int(ResultCancel) << "";
    QTest::newRow("close in Yes No") << yesNo << "close" << int(ResultCancel) << "";
    QTest::newRow("close in OK") << int(BtnOK) << "close" << int(ResultCancel) << "";
    QTest::newRow("Return without OK or Yes") << abortRetryIgnore << "Return" << int(ResultNone) << "";
    QTest::newRow("Return on a focused button")
        << abortRetryIgnore << "Return on Button_Retry" << int(ResultRetry) << "";
    QTest::newRow("Return on focused No") << yesNo << "Return on Button_No" << int(ResultNo) << "";
    QTest::newRow("Escape without Cancel or No") << abortRetryIgnore << "Escape" << int(ResultCancel) << "";
}

void TestSaveMsgDlg::answers()
{
    QFETCH(int, buttons);
    QFETCH(QString, action);
    QFETCH(int, expected);
    QFETCH(QString, caption);

    TForm_SaveMsg form(QStringLiteral("Question?"), MsgConfirm, buttons);
    form.ResultCode = ResultNone;
    form.open();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.ResultCode, int(ResultCancel)); // every showing starts at Cancel
    QVERIFY(!form.RichEdit->hasFocus());

    if (action == QLatin1String("Return")) {
        QTest::keyClick(&form, Qt::Key_Return);
    } else if (action.startsWith(QLatin1String("Return on "))) {
        auto *button = form.findChild<QPushButton *>(action.mid(10));
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, Qt::Key_Return);
    } else if (action == QLatin1String("Escape")) {
        QTest::keyClick(&form, Qt::Key_Escape);
    } else if (action == QLatin1String("close")) {
        form.close();
    } else {
        auto *button = form.findChild<QPushButton *>(action);
        QCOMPARE(button->text(), caption);
        button->click();
    }
    QCOMPARE(form.isVisible(), expected == ResultNone);
    QCOMPARE(form.ResultCode, expected == ResultNone ? int(ResultCancel) : expected);
}

void TestSaveMsgDlg::typeCaptionAndIcon_data()
{
    QTest::addColumn<int>("dlgType");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("leftWidth");

    QTest::newRow("warning") << int(MsgWarning) << "Warning" << 47;
    QTest::newRow("error") << int(MsgError) << "Error" << 47;
    QTest::newRow("information") << int(MsgInformation) << "Information" << 47;
    QTest::newRow("confirm") << int(MsgConfirm) << "Confirm" << 47;
    QTest::newRow("custom") << int(MsgCustom) << "Tamberlin" << 20;
    QTest::newRow("5 acts as custom") << 5 << "Tamberlin" << 20;
    QTest::newRow("negative acts as custom") << -1 << "Tamberlin" << 20;
}

void TestSaveMsgDlg::typeCaptionAndIcon()
{
    QFETCH(int, dlgType);
    QFETCH(QString, caption);
    QFETCH(int, leftWidth);

    TForm_SaveMsg form(QStringLiteral("Text"), dlgType, BtnOK);
    form.show();
    const bool icon = leftWidth == 47;
    QCOMPARE(form.windowTitle(), caption);
    QCOMPARE(form.Panel_Left->width(), leftWidth);
    QCOMPARE(form.RichEdit->x(), leftWidth);
    QCOMPARE(form.Panel_Image->isVisible(), icon);
    QCOMPARE(form.Image->pixmap().isNull(), !icon);
}

void TestSaveMsgDlg::sizing_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("dlgType");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QSize>("client"); // with the usual 13-pixel text line; height -1: as wrapped
    QTest::addColumn<bool>("sideways"); // the text scrolls sideways
    QTest::addColumn<bool>("down"); // the text scrolls down

    const QString wide = QString(400, QLatin1Char('W'));
    const TForm_SaveMsg probe(QStringLiteral("x"), MsgError, BtnOK);
    const QString path = QStringLiteral("C:\\Corvella\\Database\\Corvella.mdb");
    const int pathWidth = QFontMetrics(probe.RichEdit->font()).horizontalAdvance(path);
    const int ok = BtnOK;

    QTest::newRow("empty") << QString() << int(MsgError) << ok << QSize(220, 100) << false << false;
    QTest::newRow("only a line break") << "\r\n" << int(MsgError) << ok << QSize(220, 79) << false << false;
    QTest::newRow("short line") << "Saved." << int(MsgInformation) << ok << QSize(220, 79) << false << false;
    QTest::newRow("width from the text") << ("Cannot open\r\n" + path) << int(MsgError) << ok
                                         << QSize(std::max(pathWidth + 47 + 20, 220), 92) << false << false;
    QTest::newRow("width from the text, custom") << ("Cannot open\r\n" + path) << int(MsgCustom) << ok
                                                 << QSize(std::max(pathWidth + 20 + 20, 220), 92) << false << false;
    QTest::newRow("29 lines") << Lines(29) << int(MsgError) << ok << QSize(220, 443) << false << false;
    QTest::newRow("30 lines scroll") << Lines(30) << int(MsgError) << ok << QSize(220, 206) << false << true;
    QTest::newRow("wide line wraps within the window")
        << wide << int(MsgWarning) << ok << QSize(632, -1) << false << false;
    QTest::newRow("wide and long") << (wide + "\r\n" + Lines(1000)) << int(MsgWarning) << ok << QSize(632, 206) << false
                                   << true;
    QTest::newRow("button row wider than text")
        << "Sure?" << int(MsgConfirm) << (BtnYes | BtnNo | BtnCancel) << QSize(255, 79) << false << false;
    QTest::newRow("every button") << "Sure?" << int(MsgConfirm) << 255 << QSize(640, 79) << false << false;
    QTest::newRow("every button, empty message")
        << QString() << int(MsgConfirm) << 255 << QSize(640, 100) << false << false;
}

void TestSaveMsgDlg::sizing()
{
    QFETCH(QString, message);
    QFETCH(int, dlgType);
    QFETCH(int, buttons);
    QFETCH(QSize, client);
    QFETCH(bool, sideways);
    QFETCH(bool, down);

    TForm_SaveMsg form(message, dlgType, buttons);
    if (!form.Lines().isEmpty() && form.LineHeight() != 13)
        QSKIP("The platform's 8-point dialog face has no 13-pixel line here");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const bool wrapped = client.height() < 0;
    if (wrapped) {
        // Several lines high, and the whole text in sight.
        QVERIFY(form.height() > 79 + 13 && form.height() < 446);
        client.setHeight(form.height());
        QTextCursor end(form.RichEdit->document());
        end.movePosition(QTextCursor::End);
        QVERIFY(form.RichEdit->cursorRect(end).bottom() <= form.RichEdit->viewport()->height());
        QVERIFY(form.RichEdit->cursorRect(end).right() <= form.RichEdit->viewport()->width());
    }
    QCOMPARE(form.size(), client);
    QCOMPARE(form.maximumSize(), client); // the user cannot resize it
    const int left = form.Panel_Left->width();
    QCOMPARE(form.RichEdit->geometry(), QRect(left, 17, client.width() - left, client.height() - 17 - 36));
    QCOMPARE(form.Panel_Bottom->geometry(), QRect(0, client.height() - 36, client.width(), 36));

    // Scroll bars only where the text needs them, and the text shows from its top-left corner.
    QTRY_COMPARE(form.RichEdit->horizontalScrollBar()->isVisible(), sideways);
    QTRY_COMPARE(form.RichEdit->verticalScrollBar()->isVisible(), down);
    QCOMPARE(form.RichEdit->verticalScrollBar()->value(), 0);
    QCOMPARE(form.RichEdit->horizontalScrollBar()->value(), 0);

    // The button row is centred, and centred again whenever the window changes size.
    QCOMPARE(form.Panel_Buttons->x(), (client.width() - form.ButtonRowWidth()) / 2);
    TForm_SaveMsg wider(message, dlgType, buttons);
    wider.setFixedSize(client.width() + 101, client.height());
    wider.show();
    QCOMPARE(wider.Panel_Buttons->x(), (client.width() + 101 - wider.ButtonRowWidth()) / 2);
}

void TestSaveMsgDlg::warningsWrapWithinScreen_data()
{
    QTest::addColumn<QString>("message");
    QTest::newRow("login") << QStringLiteral("The user name and password combination is not valid. Please re-enter the "
                                             "user name and password to continue.");
    QTest::newRow("old password") << QStringLiteral(
        "The old password you entered is not valid.  Please re-enter the old "
        "password to continue.");
    QTest::newRow("confirmation") << QStringLiteral("The new password and password confirmation do not match.  Please "
                                                    "re-enter the new and confirm password to continue.");
    QTest::newRow("three long lines")
        << QStringLiteral("%1\r\n%1\r\n%1").arg(QStringLiteral("abcdefghi ").repeated(12).trimmed());
}

void TestSaveMsgDlg::warningsWrapWithinScreen()
{
    QFETCH(QString, message);
    TForm_SaveMsg form(message, MsgWarning, BtnOK);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(form.width() <= std::min(632, screen.width()));
    QVERIFY(form.frameGeometry().width() <= screen.width());
    // No scroll bar either way: every line, wrapped at the window's width, is in sight.
    QTRY_VERIFY(!form.RichEdit->horizontalScrollBar()->isVisible());
    QVERIFY(!form.RichEdit->verticalScrollBar()->isVisible());
    QTextCursor end(form.RichEdit->document());
    end.movePosition(QTextCursor::End);
    const QRect last = form.RichEdit->cursorRect(end);
    QVERIFY(last.bottom() <= form.RichEdit->viewport()->height());
    QVERIFY(last.right() <= form.RichEdit->viewport()->width());
    // The last words are drawn where the last line stands.
    const QRect ink = InkBounds(form.RichEdit->viewport(), QRect(0, last.top(), last.right() + 1, last.height()));
    QVERIFY(!ink.isEmpty());
}

void TestSaveMsgDlg::splitLines_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("CR LF") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("bare LF and CR") << "a\nb\rc" << QStringList{"a", "b", "c"};
    QTest::newRow("closing break adds no line") << "a\r\n" << QStringList{"a"};
    QTest::newRow("empty line kept") << "a\r\n\r\nb" << QStringList{"a", "", "b"};
}

void TestSaveMsgDlg::splitLines()
{
    QFETCH(QString, message);
    QFETCH(QStringList, lines);
    QCOMPARE(TForm_SaveMsg::SplitLines(message), lines);
}

void TestSaveMsgDlg::save_data()
{
    QTest::addColumn<QString>("typed"); // empty: the file dialog is cancelled
    QTest::addColumn<QString>("written"); // empty: nothing written

    QTest::newRow("bare name gets .txt") << "report"
                                         << "report.txt";
    QTest::newRow("own extension kept") << "report.log"
                                        << "report.log";
    QTest::newRow(".txt not doubled") << "report.txt"
                                      << "report.txt";
    QTest::newRow("trailing dot") << "report."
                                  << "report.txt";
    QTest::newRow("dotted folder, bare name") << "v1.2/report"
                                              << "v1.2/report.txt";
    QTest::newRow("cancelled") << QString() << QString();
    QTest::newRow("missing folder is reported") << "no such folder/report" << QString();
}

void TestSaveMsgDlg::save()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);

    QTemporaryDir dir;
    QVERIFY(dir.isValid() && QDir(dir.path()).mkpath(QStringLiteral("v1.2")));
    TForm_SaveMsg form(QStringLiteral("First line\r\nSecond line\r\n\r\nLast ä"), MsgError, BtnOK);
    TDialogSeam::SetNextAnswer(typed.isEmpty() ? ResultCancel : ResultOK, dir.filePath(typed));
    form.Save();

    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::SaveFile);
    if (written.isEmpty()) {
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        // A failed write is reported; a cancelled dialog says nothing more.
        QCOMPARE(TDialogSeam::Shown().size(), typed.isEmpty() ? 1 : 2);
        if (!typed.isEmpty())
            QCOMPARE(TDialogSeam::Shown().last().Kind, TBoxKind::Error);
        return;
    }
    QFile file(dir.filePath(written));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("First line\nSecond line\n\nLast ä\n"));
    QCOMPARE(TDialogSeam::Shown().size(), 1);
}

void TestSaveMsgDlg::copyAndCommandKeys()
{
    TForm_SaveMsg form(QStringLiteral("Error in line 1\r\n  at line 2"), MsgWarning, BtnOK);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    QApplication::clipboard()->setText(QString());
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Error in line 1\n  at line 2"));
    QVERIFY(!form.RichEdit->textCursor().hasSelection());
    QApplication::clipboard()->setText(QString());
    form.PopupItem_Copy->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Error in line 1\n  at line 2"));

    // Save and Print from their keys and from the text's context menu; both cancelled here.
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
    form.PopupItem_Save->trigger();
    form.PopupItem_Print->trigger();
    QCOMPARE(TDialogSeam::Shown().size(), 4);
    for (int i : {0, 2})
        QCOMPARE(TDialogSeam::Shown().at(i).Kind, TBoxKind::SaveFile);
    for (int i : {1, 3})
        QCOMPARE(TDialogSeam::Shown().at(i).Caption, QStringLiteral("Print"));

    // The hidden File menu's Close closes the window like its close box.
    QVERIFY(!form.MenuItem_File->menuAction()->isVisible());
    form.MenuItem_Close->trigger();
    QVERIFY(!form.isVisible());
    QCOMPARE(form.ResultCode, int(ResultCancel));
}

void TestSaveMsgDlg::print_data()
{
    QTest::addColumn<int>("answer"); // of the print dialog
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("printed");

    QTest::newRow("printed") << int(ResultOK) << "out.pdf" << true;
    QTest::newRow("dialog cancelled") << int(ResultCancel) << "out.pdf" << false;
    QTest::newRow("printer fails") << int(ResultOK) << "no such folder/out.pdf" << false;
}

void TestSaveMsgDlg::print()
{
    QFETCH(int, answer);
    QFETCH(QString, file);
    QFETCH(bool, printed);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TForm_SaveMsg form(QStringLiteral("Cannot open the file\r\nC:\\data"), MsgError, BtnOK);
    const std::unique_ptr<QTextDocument> document = form.CreatePrintDocument();
    QCOMPARE(document->toPlainText(), QStringLiteral("Tamberlin\nCannot open the file\nC:\\data"));
    QCOMPARE(document->defaultFont().pointSize(), 10);
    QCOMPARE(document->defaultFont().family(), QFontInfo(form.RichEdit->font()).family());

    const bool fails = answer == ResultOK && !printed;
    if (fails)
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    TDialogSeam::SetNextAnswer(answer, dir.filePath(file));
    form.Print();
    QCOMPARE(QFile::exists(dir.filePath(file)), printed);
    // Only the print dialog was asked, and a printer that fails is reported.
    QCOMPARE(TDialogSeam::Shown().size(), fails ? 2 : 1);
    if (fails)
        QCOMPARE(TDialogSeam::Shown().last().Kind, TBoxKind::Error);

    QPrinter printer;
    printer.setOutputFileName(dir.filePath(QStringLiteral("direct.pdf")));
    QVERIFY(form.PrintTo(printer));
    QCOMPARE(printer.docName(), QStringLiteral(" : Error Log"));
}

void TestSaveMsgDlg::saveMsgDialogScripted()
{
    TDialogSeam::SetNextAnswer(ResultNo);
    QCOMPARE(SaveMsgDialog(QStringLiteral("Delete it?"), MsgConfirm, BtnYes | BtnNo | BtnCancel, 17), int(ResultNo));
    SaveMsgDialog(QStringLiteral("Failed"), 9, 0);

    QCOMPARE(TDialogSeam::Shown().size(), 2);
    const TShownBox &question = TDialogSeam::Shown().at(0);
    QCOMPARE(question.Kind, TBoxKind::MessageDialog);
    QCOMPARE(question.Caption, QStringLiteral("Confirm"));
    QCOMPARE(question.Text, QStringLiteral("Delete it?"));
    QCOMPARE(question.Buttons, BtnYes | BtnNo | BtnCancel);
    QCOMPARE(question.DlgType, int(MsgConfirm));
    const TShownBox &custom = TDialogSeam::Shown().at(1);
    QCOMPARE(custom.Caption, QStringLiteral("Tamberlin"));
    QCOMPARE(custom.DlgType, int(MsgCustom));
    QCOMPARE(custom.Buttons, int(BtnOK));
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<TForm_SaveMsg *>(w));
}

void TestSaveMsgDlg::saveMsgDialogShown_data()
{
    QTest::addColumn<QString>("action"); // a button's name or "close"
    QTest::addColumn<int>("expected");

    QTest::newRow("Yes") << "Button_Yes" << int(ResultYes);
    QTest::newRow("No") << "Button_No" << int(ResultNo);
    QTest::newRow("close box") << "close" << int(ResultCancel);
}

void TestSaveMsgDlg::saveMsgDialogShown()
{
    QFETCH(QString, action);
    QFETCH(int, expected);

    TDialogSeam::EndScript(); // the real window, answered from inside its modal loop
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto *form = qobject_cast<TForm_SaveMsg *>(QApplication::activeModalWidget());
        if (!form)
            return;
        seen = true;
        if (auto *button = form->findChild<QPushButton *>(action))
            button->click();
        else
            form->close();
    });
    const int result = SaveMsgDialog(QStringLiteral("Keep the changes?"), MsgConfirm, BtnYes | BtnNo | BtnCancel);
    QVERIFY(seen);
    QCOMPARE(result, expected);
}

QTEST_MAIN(TestSaveMsgDlg)
#include "tst_savemsgdlg.moc"
