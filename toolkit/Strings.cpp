#include "toolkit/Strings.h"

#include <algorithm>

namespace {

bool LessIgnoringCase(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

} // namespace

TStrings &TStrings::operator=(const TStrings &other)
{
    if (this != &other) {
        FSorted = other.FSorted;
        Assign(other.FLines);
    }
    return *this;
}

void TStrings::SetStrings(int index, const QString &line)
{
    if (index < 0 || index >= Count())
        return;
    FLines[index] = line;
    if (FSorted)
        std::stable_sort(FLines.begin(), FLines.end(), LessIgnoringCase);
    Changed();
}

int TStrings::Add(const QString &line)
{
    int index = Count();
    if (FSorted)
        index = static_cast<int>(std::upper_bound(FLines.begin(), FLines.end(), line, LessIgnoringCase) - FLines.begin());
    FLines.insert(index, line);
    Changed();
    return index;
}

void TStrings::Insert(int index, const QString &line)
{
    if (FSorted) {
        Add(line);
        return;
    }
    FLines.insert(std::clamp(index, 0, Count()), line);
    Changed();
}

void TStrings::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    FLines.removeAt(index);
    Changed();
}

void TStrings::Clear()
{
    if (FLines.isEmpty())
        return;
    FLines.clear();
    Changed();
}

int TStrings::IndexOf(const QString &line) const
{
    for (int i = 0; i < Count(); ++i)
        if (FLines.at(i).compare(line, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TStrings::Assign(const QStringList &lines)
{
    FLines = lines;
    if (FSorted)
        std::stable_sort(FLines.begin(), FLines.end(), LessIgnoringCase);
    Changed();
}

void TStrings::AddStrings(const QStringList &lines)
{
    BeginUpdate();
    for (const QString &line : lines)
        Add(line);
    EndUpdate();
}

QString TStrings::Text() const
{
    QString text;
    for (const QString &line : FLines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

void TStrings::SetText(const QString &text)
{
    Assign(SplitLines(text));
}

QString TStrings::CommaText() const
{
    QStringList parts;
    for (const QString &line : FLines) {
        bool plain = !line.isEmpty();
        for (QChar c : line)
            if (c <= QLatin1Char(' ') || c == QLatin1Char(',') || c == QLatin1Char('"'))
                plain = false;
        if (plain)
            parts << line;
        else
            parts << QLatin1Char('"') + QString(line).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    }
    return parts.join(QLatin1Char(','));
}

void TStrings::SetSorted(bool value)
{
    if (FSorted == value)
        return;
    FSorted = value;
    if (FSorted)
        Sort();
}

void TStrings::Sort()
{
    std::stable_sort(FLines.begin(), FLines.end(), LessIgnoringCase);
    Changed();
}

void TStrings::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        if (OnChange)
            OnChange();
    }
}

void TStrings::Changed()
{
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (OnChange)
        OnChange();
}

QStringList SplitLines(const QString &text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines << text.mid(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}
