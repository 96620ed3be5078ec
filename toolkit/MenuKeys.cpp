#include "toolkit/MenuKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace {

// The platform style with the menu bar's Alt key navigation switched on.
class TMenuKeyStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
    // The platform style lights a menu title only while its menu is open; entered from
    // the keyboard, the bar shows at once which title the arrows and Enter act on.
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (element == CE_MenuBarItem && item && widget && widget->hasFocus() && (item->state & State_Selected)) {
            QStyleOptionMenuItem lit = *item;
            lit.state |= State_Sunken;
            QProxyStyle::drawControl(element, &lit, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

// F10 does what Alt alone does: the menu bar reads it as a lone Alt press and release.
class TF10Filter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F10 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        QWidget *window = static_cast<QWidget *>(watched)->window();
        auto *bar = window ? window->findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
        if (!bar || !bar->isVisible() || bar->actions().isEmpty())
            return false;
        QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
        QApplication::sendEvent(window, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
        QApplication::sendEvent(window, &release);
        return true;
    }
};

} // namespace

void InstallMenuKeys()
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    static QPointer<QObject> installed;
    if (!app || installed)
        return;
    if (!dynamic_cast<TMenuKeyStyle *>(QApplication::style()))
        QApplication::setStyle(new TMenuKeyStyle(QApplication::style()->name()));
    installed = new TF10Filter(app);
    app->installEventFilter(installed);
}
