#include "common/Rendered.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <functional>

namespace {

const QString Tagged = QStringLiteral("Which tag is <b>bold</b>? Salt & Pepper");

// The ink of a one-line text as drawn is as wide as the text taken literally.
void VerifyDrawnAsTyped(QWidget *widget, const QRect &area, const QString &typed)
{
    const QRect ink = InkBounds(widget, area);
    const int expected = QFontMetrics(widget->font()).boundingRect(typed).width();
    QVERIFY2(std::abs(ink.width() - expected) <= 4,
             qPrintable(QStringLiteral("drawn %1 pixels wide, typed text %2").arg(ink.width()).arg(expected)));
}

QWidget *TopLevelOfClass(const char *className)
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->inherits(className))
            return widget;
    return nullptr;
}

} // namespace

class TestPlainText : public QObject {
    Q_OBJECT

private slots:
    void radioChoicesAsTyped_data();
    void radioChoicesAsTyped();
    void hintAsTyped();
    void standardBoxesAsTyped_data();
    void standardBoxesAsTyped();
};

void TestPlainText::radioChoicesAsTyped_data()
{
    QTest::addColumn<QString>("choice");
    QTest::newRow("ampersand") << QStringLiteral("Salt & Pepper");
    QTest::newRow("two ampersands") << QStringLiteral("R&&D");
    QTest::newRow("tags") << QStringLiteral("<b>bold</b>");
}

void TestPlainText::radioChoicesAsTyped()
{
    QFETCH(QString, choice);
    TRadioGroup group;
    group.SetBounds(0, 0, 185, 60);
    group.Items()->Assign(QStringList{choice, QStringLiteral("Other")});
    group.show();
    group.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&group));
    QRadioButton *button = group.Button(0);
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect text = button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button);
    VerifyDrawnAsTyped(button, text.intersected(button->rect().adjusted(0, 3, -3, -3)), choice);
    // An ampersand marks no access key: Alt with the letter after it chooses nothing.
    QTest::keyClick(&group, Qt::Key_P, Qt::AltModifier);
    QCOMPARE(group.ItemIndex(), -1);
}

void TestPlainText::hintAsTyped()
{
    TListBox list;
    list.resize(120, 80);
    list.SetHint(Tagged);
    list.SetShowHint(true);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QCOMPARE(list.toolTip(), Tagged); // the hint itself is kept as typed
    QHelpEvent help(QEvent::ToolTip, QPoint(10, 10), list.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&list, &help);
    QWidget *tip = nullptr;
    QTRY_VERIFY((tip = TopLevelOfClass("QTipLabel")));
    auto label = qobject_cast<QLabel *>(tip);
    QVERIFY(label);
    // Inside the tip's border, the hint on one line as typed.
    VerifyDrawnAsTyped(label, label->rect().adjusted(2, 2, -2, -2), Tagged);
    QToolTip::hideText();
}

void TestPlainText::standardBoxesAsTyped_data()
{
    QTest::addColumn<int>("which"); // 0 plain message box, 1 confirmation, 2 error box
    QTest::newRow("message") << 0;
    QTest::newRow("confirmation") << 1;
    QTest::newRow("error") << 2;
}

void TestPlainText::standardBoxesAsTyped()
{
    QFETCH(int, which);
    // No script: the real box comes up, and is looked at and answered from inside its loop.
    bool looked = false;
    QTimer::singleShot(0, this, [&] {
        auto box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        [&] {
            auto label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            QVERIFY(QTest::qWaitForWindowExposed(box));
            VerifyDrawnAsTyped(label, label->contentsRect(), Tagged);
            looked = true;
        }();
        box->done(QMessageBox::Ok);
    });
    if (which == 0)
        ShowMessage(Tagged);
    else if (which == 1)
        ConfirmBox(Tagged, BtnOK);
    else
        ShowErrorBox(Tagged);
    QVERIFY(looked);
}

QTEST_MAIN(TestPlainText)
#include "tst_plaintext.moc"
