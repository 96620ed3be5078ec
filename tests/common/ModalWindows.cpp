#include "common/ModalWindows.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <memory>

void WhenModal(QObject *context, std::function<void(QWidget *)> step)
{
    auto *timer = new QTimer(context);
    timer->setInterval(10);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, context, [timer, step, tries] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal || ++*tries > 500) {
            timer->stop();
            timer->deleteLater();
        }
        if (modal)
            step(modal);
    });
    timer->start();
}

bool CloseModalWindows()
{
    // Every close takes one window off the stack; more tries than windows a test opens.
    for (int tries = 0; tries < 20; ++tries) {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return true;
        modal->close();
        if (QApplication::activeModalWidget() == modal && modal->isVisible()) {
            QCoreApplication::processEvents();
            if (QApplication::activeModalWidget() == modal && modal->isVisible()) {
                qWarning("%s refused to close", modal->metaObject()->className());
                modal->hide();
                return false;
            }
        }
    }
    return !QApplication::activeModalWidget();
}

QList<TShownBox> ShownOf(TBoxKind kind)
{
    QList<TShownBox> boxes;
    for (const TShownBox &box : TDialogSeam::Shown())
        if (box.Kind == kind)
            boxes << box;
    return boxes;
}
