#include "dialogs/FontGrowth.h"

#include <QFontMetricsF>
#include <QLayout>
#include <QWidget>

#include <cmath>

namespace {

// The line height of the normal font at 96 dots an inch.
constexpr double NormalLineHeight = 14.0;
// Below this the font counts as normal: a face a pixel taller moves nothing.
constexpr double LeastGrowth = 1.05;

int GrownBy(double growth, int length)
{
    return int(std::lround(length * growth));
}

void GrowChildren(QWidget *parent, double growth)
{
    const bool laidOut = parent->layout() != nullptr;
    for (QObject *object : parent->children()) {
        auto *widget = qobject_cast<QWidget *>(object);
        if (!widget || widget->isWindow())
            continue;
        // Unnamed children and Qt's own are parts of a compound control, which places them
        // (a page of a tab control sits in one of them).
        if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_"))) {
            GrowChildren(widget, growth);
            continue;
        }
        if (laidOut) {
            if (widget->minimumHeight() == widget->maximumHeight())
                widget->setFixedHeight(GrownBy(growth, widget->maximumHeight()));
            if (widget->minimumWidth() == widget->maximumWidth())
                widget->setFixedWidth(GrownBy(growth, widget->maximumWidth()));
        } else {
            const QRect bounds = widget->geometry();
            const QSize hint = widget->sizeHint();
            // A size taken from the size hint already follows the font.
            const int width = bounds.width() == hint.width() ? bounds.width() : GrownBy(growth, bounds.width());
            const int height = bounds.height() == hint.height() ? bounds.height() : GrownBy(growth, bounds.height());
            widget->setGeometry(GrownBy(growth, bounds.x()), GrownBy(growth, bounds.y()), width, height);
        }
        GrowChildren(widget, growth);
    }
}

} // namespace

double FontGrowth(const QWidget *widget)
{
    const double growth = QFontMetricsF(widget->font(), widget).height() / NormalLineHeight;
    return growth < LeastGrowth ? 1.0 : growth;
}

int Grown(const QWidget *widget, int length)
{
    return GrownBy(FontGrowth(widget), length);
}

QSize Grown(const QWidget *widget, QSize size)
{
    const double growth = FontGrowth(widget);
    return QSize(GrownBy(growth, size.width()), GrownBy(growth, size.height()));
}

void GrowWithFont(QWidget *window)
{
    const double growth = FontGrowth(window);
    if (growth == 1.0)
        return;
    GrowChildren(window, growth);
    const QSize size(GrownBy(growth, window->width()), GrownBy(growth, window->height()));
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(size);
    else
        window->resize(size);
}
