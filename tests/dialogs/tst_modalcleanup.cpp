// The cleanup that closes the modal windows a test left open: it closes a stack of them,
// and gives up on one that refuses to close instead of waiting for it forever.
#include "common/ModalWindows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QTimer>
#include <QtTest>

namespace {

class TRefusingDialog : public QDialog {
protected:
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

} // namespace

class TestModalCleanup : public QObject {
    Q_OBJECT

private slots:
    void closesStackedWindowsAndGivesUpOnARefusal();
};

void TestModalCleanup::closesStackedWindowsAndGivesUpOnARefusal()
{
    // Two windows in their own modal loops, the second opened from the first.
    QDialog outer;
    QDialog inner(&outer);
    bool closed = false;
    QTimer::singleShot(0, &outer, [&] {
        QTimer::singleShot(0, &inner, [&] { closed = CloseModalWindows(); });
        inner.exec();
    });
    outer.exec();
    QVERIFY(closed);
    QVERIFY(!outer.isVisible());
    QVERIFY(!QApplication::activeModalWidget());

    // A window whose close is refused ends the cleanup with false, hidden so that its
    // modal loop returns and the next test is not held up.
    TRefusingDialog stubborn;
    closed = true;
    QTimer::singleShot(0, &stubborn, [&] { closed = CloseModalWindows(); });
    stubborn.exec();
    QVERIFY(!closed);
    QVERIFY(!stubborn.isVisible());
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestModalCleanup)
#include "tst_modalcleanup.moc"
