#include "toolkit/Strings.h"

#include "toolkit/AlphabeticOrder.h"

#include <QCollator>
#include <QLocale>
#include <QUtf8StringView>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

bool LessIgnoringCase(const QString &a, const QString &b)
{
    return AlphabeticLess(a, b);
}

// Windows-1252 in 0x80..0x9F, where ISO Latin-1 has only control codes; the five
// unassigned bytes keep their Latin-1 meaning.
constexpr char16_t Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

namespace {

QCollator &Collator()
{
    thread_local QCollator collator = [] {
        // A bare "C" environment sorts by code points; a person expects a real alphabet.
        QLocale locale;
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English);
        QCollator c(locale);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

} // namespace

int AlphabeticCompare(const QString &a, const QString &b)
{
    return Collator().compare(a, b);
}

QList<qsizetype> AlphabeticOrder(const QStringList &texts)
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const QString &text : texts)
        keys.push_back(Collator().sortKey(text));
    QList<qsizetype> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]) < 0; });
    return order;
}

QString TextFromBytes(const char *bytes, qsizetype size, bool *readAsLatin1)
{
    const bool utf8 = QUtf8StringView(bytes, size).isValidUtf8();
    if (readAsLatin1)
        *readAsLatin1 = !utf8;
    if (utf8)
        return QString::fromUtf8(bytes, size);
    QString text(size, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        out[i] = QChar(c >= 0x80 && c < 0xA0 ? Cp1252High[c - 0x80] : char16_t(c));
    }
    return text;
}

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
        index =
            static_cast<int>(std::upper_bound(FLines.begin(), FLines.end(), line, LessIgnoringCase) - FLines.begin());
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
            parts << QLatin1Char('"') + QString(line).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                         QLatin1Char('"');
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
