#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// True when the text is a signed 32-bit integer: an optional sign, then decimal digits
// or '$' (or 0x) and hexadecimal digits, surrounding blanks allowed. "-$5" is -5, and
// "$FFFFFFFF" is out of range, not -1.
bool IsValidInteger(const QString &text);
// Converts like IsValidInteger; ok tells whether it did.
int StrToIntDef(const QString &text, int fallback, bool *ok = nullptr);

// The system's short date format, always with a four-digit year ("dd/MM/yyyy").
QString ShortDateFormat();
// Overrides the system's short date format (tests pin it; empty = back to the system).
void SetShortDateFormat(const QString &format);
// The system's decimal separator.
QChar DecimalSeparator();

// Date text in the short date format, and back. A text that does not convert gives
// an invalid date. Two-digit years fall in the 50 years either side of today.
QString DateToStr(const QDate &date);
QDate StrToDate(const QString &text);
// True when the text converts to a date under the short date format.
bool IsValidDate(const QString &text);

// Date-time values as day numbers: whole days since 30 December 1899, the fraction
// the time of day.
double DateToDayNumber(const QDate &date);
QDate DayNumberToDate(double value);
double TimeToDayFraction(const QTime &time);
QTime DayFractionToTime(double value);
double DateTimeToDayNumber(const QDateTime &dateTime);
QDateTime DayNumberToDateTime(double value);
