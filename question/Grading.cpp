#include "question/Grading.h"

#include "toolkit/Convert.h"

#include <cstdio>

namespace {

// The value rounded to the 18 significant digits of extended precision, as whole
// digits and decimals ("52" and "99..." or "53" and "00...").
void DecimalParts(long double value, QString &whole, QString &decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", value < 0 ? -value : value);
    const QString text = QString::fromLatin1(buffer);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    const int exponent = text.mid(e + 1).toInt();
    QString digits = text.left(e);
    digits.remove(QLatin1Char('.'));
    if (exponent >= 0) {
        const int wholeLength = exponent + 1;
        if (digits.size() < wholeLength)
            digits += QString(wholeLength - digits.size(), QLatin1Char('0'));
        whole = digits.left(wholeLength);
        decimals = digits.mid(wholeLength);
    } else {
        whole = QStringLiteral("0");
        decimals = QString(-exponent - 1, QLatin1Char('0')) + digits;
    }
}

} // namespace

namespace Grading {

QString FinishedStatus(int wholeGrade)
{
    return wholeGrade < PassMark ? Failed : Passed;
}

QString ProposedStatus(int grade)
{
    if (grade >= PassMark && grade <= MaxGrade)
        return Passed;
    if (grade >= 1 && grade < PassMark)
        return Failed;
    if (grade == 0)
        return Incomplete;
    return QString();
}

bool IsFinished(const QString &status)
{
    return status.compare(Passed, Qt::CaseInsensitive) == 0 || status.compare(Failed, Qt::CaseInsensitive) == 0;
}

} // namespace Grading

long double ComputeGrade(int correct, int incorrect)
{
    const int total = correct + incorrect;
    if (correct <= 0 || total <= 0)
        return 0;
    // The quotient is rounded to extended precision first, then the product.
    const long double quotient = static_cast<long double>(correct) / static_cast<long double>(total);
    return quotient * 100.0L;
}

QString FormatGrade(long double grade)
{
    QString whole, decimals;
    DecimalParts(grade, whole, decimals);
    qint64 tenths = whole.toLongLong() * 10 + (decimals.isEmpty() ? 0 : decimals.at(0).digitValue());
    if (decimals.size() > 1 && decimals.at(1).digitValue() >= 5)
        ++tenths;
    QString text = QString::number(tenths / 10) + DecimalSeparator() + QString::number(tenths % 10);
    return grade < 0 ? QLatin1Char('-') + text : text;
}

int WholeGrade(long double grade)
{
    QString whole, decimals;
    DecimalParts(grade, whole, decimals);
    const int value = whole.toInt();
    return grade < 0 ? -value : value;
}
