#include "toolkit/Convert.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace {

const QDate DayZero(1899, 12, 30);
QString OverrideFormat;

} // namespace

bool IsValidInteger(const QString &text)
{
    bool ok = false;
    StrToIntDef(text, 0, &ok);
    return ok;
}

int StrToIntDef(const QString &text, int fallback, bool *ok)
{
    // One rule for both notations: an optional sign, then decimal digits or '$' (or
    // 0x) and hexadecimal digits; the number, not its bit pattern, must fit 32 bits.
    const QString t = text.trimmed();
    qsizetype i = 0;
    const bool negative = i < t.size() && t[i] == QLatin1Char('-');
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        ++i;
    int base = 10;
    if (t.mid(i, 1) == QLatin1String("$")) {
        base = 16;
        i += 1;
    } else if (t.mid(i, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0) {
        base = 16;
        i += 2;
    }
    bool good = i < t.size();
    qint64 value = 0;
    for (; good && i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
            digit = (c | 0x20) - 'a' + 10;
        good = digit >= 0;
        value = value * base + digit;
        if (value > qint64(INT32_MAX) + 1)
            good = false;
    }
    if (negative)
        value = -value;
    good = good && value >= INT32_MIN && value <= INT32_MAX;
    if (ok)
        *ok = good;
    return good ? static_cast<int>(value) : fallback;
}

QString ShortDateFormat()
{
    if (!OverrideFormat.isEmpty())
        return OverrideFormat;
    QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    // Short dates are typed as numbers; a format with month names (the bare C
    // locale's "d MMM yyyy") could not be read back.
    if (format.contains(QLatin1String("MMM")) || format.contains(QLatin1String("ddd")))
        return QStringLiteral("dd/MM/yyyy");
    // Always a four-digit year.
    static const QRegularExpression years(QStringLiteral("y+"));
    format.replace(years, QStringLiteral("yyyy"));
    return format;
}

void SetShortDateFormat(const QString &format)
{
    OverrideFormat = format;
}

QChar DecimalSeparator()
{
    QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

QString DateToStr(const QDate &date)
{
    return date.isValid() ? date.toString(ShortDateFormat()) : QString();
}

QDate StrToDate(const QString &text)
{
    // Order of day, month and year as the format has them; any run of
    // non-digits separates the parts, like the system's own conversion.
    const QString format = ShortDateFormat();
    QString order;
    for (QChar c : format) {
        QChar k = c.toLower();
        if ((k == QLatin1Char('d') || k == QLatin1Char('m') || k == QLatin1Char('y')) && !order.contains(k))
            order += k;
    }
    if (order.size() != 3)
        order = QStringLiteral("mdy");

    QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    QChar separator;
    for (QChar c : format)
        if (!c.isLetter()) {
            separator = c;
            break;
        }
    static const QRegularExpression number(QStringLiteral("^\\d{1,4}$"));
    const QStringList parts = separator.isNull() ? QStringList{t} : t.split(separator);
    if (parts.size() < 2 || parts.size() > 3)
        return {};
    int values[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        const QString p = parts[i].trimmed();
        if (!number.match(p).hasMatch())
            return {};
        values[i] = p.toInt();
    }
    int day = 0, month = 0, year = QDate::currentDate().year();
    bool yearGiven = parts.size() == 3;
    int yearDigits = 4;
    int k = 0;
    for (QChar o : order) {
        if (o == QLatin1Char('y') && !yearGiven)
            continue;
        if (k >= parts.size())
            break;
        if (o == QLatin1Char('d'))
            day = values[k];
        else if (o == QLatin1Char('m'))
            month = values[k];
        else {
            year = values[k];
            yearDigits = parts[k].trimmed().size();
        }
        ++k;
    }
    if (yearGiven && yearDigits <= 2) {
        int current = QDate::currentDate().year();
        int century = current - 50;
        int candidate = (century / 100) * 100 + year;
        if (candidate < century)
            candidate += 100;
        year = candidate;
    }
    QDate date(year, month, day);
    return date.isValid() ? date : QDate();
}

bool IsValidDate(const QString &text)
{
    return StrToDate(text).isValid();
}

double DateToDayNumber(const QDate &date)
{
    return date.isValid() ? static_cast<double>(DayZero.daysTo(date)) : 0.0;
}

QDate DayNumberToDate(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 3e6)
        return {};
    return DayZero.addDays(static_cast<qint64>(std::trunc(value)));
}

double TimeToDayFraction(const QTime &time)
{
    return time.isValid() ? time.msecsSinceStartOfDay() / 86400000.0 : 0.0;
}

QTime DayFractionToTime(double value)
{
    if (!std::isfinite(value))
        return QTime(0, 0);
    double fraction = std::fabs(value - std::trunc(value));
    qint64 ms = std::llround(fraction * 86400000.0);
    if (ms >= 86400000)
        ms = 86399999;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

double DateTimeToDayNumber(const QDateTime &dateTime)
{
    double days = DateToDayNumber(dateTime.date());
    double fraction = TimeToDayFraction(dateTime.time());
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime DayNumberToDateTime(double value)
{
    return QDateTime(DayNumberToDate(value), DayFractionToTime(value));
}
