#include "testtaking/WaitIndicator.h"

#include "database/Database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QThread>
#include <QWidget>

const QString WaitingText = QStringLiteral("Waiting for the database\u2026");

namespace {

QPointer<QLabel> &Line()
{
    static QPointer<QLabel> line;
    return line;
}

bool &CursorSet()
{
    static bool set = false;
    return set;
}

QElapsedTimer &SincePaint()
{
    static QElapsedTimer timer;
    return timer;
}

void Repaint()
{
    // Drawing and timers go on; clicks and keys wait until the statement is done, so
    // nothing runs a second statement in the middle of this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    SincePaint().restart();
}

void Begin()
{
    if (!CursorSet()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        CursorSet() = true;
    }
    QWidget *window = QApplication::activeModalWidget();
    if (!window)
        window = QApplication::activeWindow();
    if (!window) {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible()) {
                window = w;
                break;
            }
    }
    if (window && !Line()) {
        auto line = new QLabel(WaitingText, window);
        line->setObjectName(QStringLiteral("Label_Waiting"));
        line->setTextFormat(Qt::PlainText);
        line->setAutoFillBackground(true);
        line->setFrameStyle(QFrame::Box | QFrame::Plain);
        line->setMargin(4);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, QColor(255, 255, 225));
        palette.setColor(QPalette::WindowText, Qt::black);
        line->setPalette(palette);
        line->adjustSize();
        line->move(8, window->height() - line->height() - 8);
        line->show();
        line->raise();
        Line() = line;
    }
    Repaint();
}

void End()
{
    if (Line())
        delete Line().data();
    if (CursorSet()) {
        QApplication::restoreOverrideCursor();
        CursorSet() = false;
    }
}

void Observe(TDbWait state)
{
    // Background retries wait in threads of their own and show nothing.
    if (!qApp || QThread::currentThread() != qApp->thread())
        return;
    switch (state) {
    case TDbWait::Begin:
        Begin();
        break;
    case TDbWait::Tick:
        if (!SincePaint().isValid() || SincePaint().elapsed() >= 40)
            Repaint();
        break;
    case TDbWait::End:
        End();
        break;
    }
}

} // namespace

void InstallDbWaitIndicator()
{
    SetDbWaitObserver(Observe);
}

void RemoveDbWaitIndicator()
{
    End();
    SetDbWaitObserver(nullptr);
}
