#include "toolkit/PlainText.h"

QString ShowAmpersands(const QString &text)
{
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString PlainHint(const QString &text)
{
    // Kept on its lines as typed: a tooltip would wrap a long name at its own width.
    if (text.isEmpty())
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}
