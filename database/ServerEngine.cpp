#include "database/ServerEngine.h"

#include "database/Schema.h"

#include <QRegularExpression>

#include <libpq-fe.h>

bool IsServerLocation(const QString &location)
{
    return location.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           location.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive) ||
           location.startsWith(QLatin1String("service="), Qt::CaseInsensitive);
}

bool IsUnsupportedLocation(const QString &location)
{
    if (IsServerLocation(location)) {
        char *error = nullptr;
        PQconninfoOption *options = PQconninfoParse(location.toUtf8().constData(), &error);
        PQfreemem(error);
        if (!options)
            return true;
        PQconninfoFree(options);
        return false;
    }
    // "C:" and the like stay paths; two letters or more before a colon name a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(location).hasMatch();
}

QString ServerLabel(const QString &location)
{
    char *error = nullptr;
    PQconninfoOption *options = PQconninfoParse(location.toUtf8().constData(), &error);
    PQfreemem(error);
    if (!options)
        return QStringLiteral("(an unreadable server address)");
    QString host, port, dbname, service;
    for (PQconninfoOption *o = options; o->keyword; ++o) {
        if (!o->val)
            continue;
        const QByteArray key(o->keyword);
        const QString value = QString::fromUtf8(o->val);
        if (key == "host")
            host = value;
        else if (key == "port")
            port = value;
        else if (key == "dbname")
            dbname = value;
        else if (key == "service")
            service = value;
    }
    PQconninfoFree(options);
    QString label = service.isEmpty() ? QString() : QStringLiteral("service %1 ").arg(service);
    label += QLatin1Char('\'') + (host.isEmpty() ? QStringLiteral("localhost") : host);
    if (!port.isEmpty())
        label += QLatin1Char(':') + port;
    if (!dbname.isEmpty())
        label += QLatin1Char('/') + dbname;
    return label + QLatin1Char('\'');
}

namespace {

bool IsNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Where the quoted text, quoted name or comment that starts at i ends (one past it).
qsizetype SkipQuoted(const QString &text, qsizetype i)
{
    const QChar c = text[i];
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        for (qsizetype j = i + 1; j < text.size(); ++j)
            if (text[j] == c) {
                if (j + 1 < text.size() && text[j + 1] == c)
                    ++j; // a doubled quote stands for itself
                else
                    return j + 1;
            }
        return text.size();
    }
    if (c == QLatin1Char('-') && i + 1 < text.size() && text[i + 1] == QLatin1Char('-')) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), i);
        return end < 0 ? text.size() : end + 1;
    }
    return i;
}

// The end of the argument list whose "(" is at open: one past the ")". The top-level
// comma positions are added to commas.
qsizetype ArgumentsEnd(const QString &text, qsizetype open, QList<qsizetype> *commas)
{
    int depth = 0;
    for (qsizetype i = open; i < text.size();) {
        const qsizetype skipped = SkipQuoted(text, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (text[i] == QLatin1Char('('))
            ++depth;
        else if (text[i] == QLatin1Char(')') && --depth == 0)
            return i + 1;
        else if (text[i] == QLatin1Char(',') && depth == 1)
            commas->append(i);
        ++i;
    }
    return -1;
}

// GROUP_CONCAT(x[, separator]) is string_agg(CAST(x AS TEXT), separator) on the server.
QString TranslateGroupConcat(QString text)
{
    static const QRegularExpression call(QStringLiteral("\\bGROUP_CONCAT\\s*\\("),
                                         QRegularExpression::CaseInsensitiveOption);
    for (qsizetype from = 0;;) {
        const auto m = call.match(text, from);
        if (!m.hasMatch())
            return text;
        const qsizetype open = m.capturedEnd() - 1;
        QList<qsizetype> commas;
        const qsizetype end = ArgumentsEnd(text, open, &commas);
        if (end < 0)
            return text; // the server reports the broken statement
        const qsizetype argEnd = commas.isEmpty() ? end - 1 : commas.first();
        const QString value = text.mid(open + 1, argEnd - open - 1).trimmed();
        const QString separator = commas.isEmpty() ? QStringLiteral("','")
                                                   : text.mid(commas.first() + 1, end - 2 - commas.first()).trimmed();
        const QString replacement = QStringLiteral("string_agg(CAST(%1 AS TEXT), %2)").arg(value, separator);
        text.replace(m.capturedStart(), end - m.capturedStart(), replacement);
        from = m.capturedStart() + replacement.size();
    }
}

// A subquery in FROM needs a name on the server: "FROM (SELECT ...)" gets one.
QString NameSubqueries(QString text)
{
    static const QRegularExpression from(QStringLiteral("\\bFROM\\s*\\("), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression next(QStringLiteral("^\\s*([A-Za-z_]*)"));
    static const QStringList keywords = {"",      "WHERE", "GROUP", "ORDER",  "HAVING",    "LIMIT",  "JOIN",   "LEFT",
                                         "INNER", "CROSS", "UNION", "EXCEPT", "INTERSECT", "OFFSET", "WINDOW", "ON"};
    int count = 0;
    for (qsizetype at = 0;;) {
        const auto m = from.match(text, at);
        if (!m.hasMatch())
            return text;
        QList<qsizetype> commas;
        const qsizetype end = ArgumentsEnd(text, m.capturedEnd() - 1, &commas);
        if (end < 0)
            return text;
        const QString word = next.match(QStringView(text).mid(end)).captured(1).toUpper();
        if (keywords.contains(word))
            text.insert(end, QStringLiteral(" AS subquery_%1").arg(++count));
        at = m.capturedEnd();
    }
}

} // namespace

QString ServerStatement(const QString &text, QStringList *names)
{
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype skipped = SkipQuoted(text, i);
        if (skipped != i) {
            out += QStringView(text).mid(i, skipped - i);
            i = skipped;
            continue;
        }
        const QChar c = text[i];
        // ":NAME", but not a "::" cast nor a colon inside a word.
        if (c == QLatin1Char(':') && i + 1 < text.size() && (text[i + 1].isLetter() || text[i + 1] == u'_') &&
            (i == 0 || (text[i - 1] != QLatin1Char(':') && !IsNameChar(text[i - 1])))) {
            qsizetype end = i + 1;
            while (end < text.size() && IsNameChar(text[end]))
                ++end;
            const QString name = text.mid(i, end - i).toUpper();
            qsizetype index = names->indexOf(name);
            if (index < 0) {
                names->append(name);
                index = names->size() - 1;
            }
            out += QLatin1Char('$') + QString::number(index + 1);
            i = end;
            continue;
        }
        out += c;
        ++i;
    }
    static const QRegularExpression ifnull(QStringLiteral("\\bIFNULL\\s*\\("),
                                           QRegularExpression::CaseInsensitiveOption);
    if (out.contains(ifnull))
        out.replace(ifnull, QStringLiteral("COALESCE("));
    if (out.contains(QLatin1String("FROM"), Qt::CaseInsensitive) && out.contains(QLatin1Char('(')))
        out = NameSubqueries(out);
    if (out.contains(QLatin1String("GROUP_CONCAT"), Qt::CaseInsensitive))
        out = TranslateGroupConcat(out);
    return out;
}

QStringList SplitStatements(const QString &text)
{
    QStringList statements;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size();) {
        if (i < text.size()) {
            const qsizetype skipped = SkipQuoted(text, i);
            if (skipped != i) {
                i = skipped;
                continue;
            }
        }
        if (i == text.size() || text[i] == QLatin1Char(';')) {
            const QString piece = text.mid(start, i - start).trimmed();
            if (!piece.isEmpty())
                statements << piece;
            start = i + 1;
        }
        ++i;
    }
    return statements;
}

bool IsImmediateBegin(const QString &statement)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*BEGIN\\s+IMMEDIATE(\\s+TRANSACTION)?\\s*;?\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(statement).hasMatch();
}

QString ServerIndexStatement(const QString &statement)
{
    QString text = statement;
    text.replace(QRegularExpression(QStringLiteral("\\s+COLLATE\\s+BINARY"), QRegularExpression::CaseInsensitiveOption),
                 QString());
    return text;
}

QString ServerSchemaSql()
{
    QString text = QString::fromUtf8(SchemaSql);
    text.replace(QRegularExpression(QStringLiteral("--[^\\n]*")), QString());
    text.replace(QRegularExpression(QStringLiteral("INTEGER\\s+PRIMARY\\s+KEY\\s+AUTOINCREMENT"),
                                    QRegularExpression::CaseInsensitiveOption),
                 QStringLiteral("SERIAL PRIMARY KEY"));
    text.replace(
        QRegularExpression(QStringLiteral("\\bTEXT\\s+COLLATE\\s+NOCASE"), QRegularExpression::CaseInsensitiveOption),
        QStringLiteral("CITEXT COLLATE \"und-x-icu\""));
    return ServerIndexStatement(text);
}
