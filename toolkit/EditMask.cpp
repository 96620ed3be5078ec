#include "toolkit/EditMask.h"

#include "toolkit/Convert.h"
#include "toolkit/Exception.h"

#include <algorithm>
#include <vector>

namespace {

// Longer pasted or assigned texts are cut here; no mask has room for more.
constexpr int MaxAlignedText = 4096;
constexpr int Impossible = -1000000;

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QChar DateSeparator()
{
    const QString format = ShortDateFormat();
    for (QChar c : format)
        if (!c.isLetter() && !c.isDigit() && c != QLatin1Char('\'') && !c.isSpace())
            return c;
    return QLatin1Char('/');
}

QString FormatMaskText(const QString &mask, const QString &value)
{
    const TEditMask editMask(mask);
    return editMask.IsMasked() ? editMask.EditTextOf(value) : value;
}

TEditMask::TEditMask(const QString &mask)
{
    SetMask(mask);
}

void TEditMask::SetMask(const QString &mask)
{
    if (mask.size() > MaxMaskLength)
        throw Exception(QStringLiteral("Invalid property value"));
    FMask = mask;
    FPositions.clear();
    FSaveLiterals = true;
    FLeadingBlanks = false;
    FBlank = QLatin1Char('_');

    TCase currentCase = TCase::None;
    auto add = [&](TKind kind, QChar c = QChar()) { FPositions.append(TPosition{kind, c, currentCase}); };
    int i = 0;
    for (; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == QLatin1Char(';'))
            break;
        switch (c.unicode()) {
        case '\\':
            // A backslash at the very end escapes nothing and is ignored.
            if (i + 1 < mask.size())
                add(TKind::Literal, mask.at(++i));
            break;
        case '!':
            FLeadingBlanks = true;
            break;
        case '>':
            currentCase = TCase::Upper;
            break;
        case '<':
            if (i + 1 < mask.size() && mask.at(i + 1) == QLatin1Char('>')) {
                currentCase = TCase::None;
                ++i;
            } else {
                currentCase = TCase::Lower;
            }
            break;
        case '0':
            add(TKind::Digit);
            break;
        case '9':
            add(TKind::OptDigit);
            break;
        case '#':
            add(TKind::OptDigitSign);
            break;
        case 'L':
            add(TKind::Letter);
            break;
        case 'l':
            add(TKind::OptLetter);
            break;
        case 'A':
            add(TKind::AlphaNum);
            break;
        case 'a':
            add(TKind::OptAlphaNum);
            break;
        case 'C':
            add(TKind::AnyChar);
            break;
        case 'c':
            add(TKind::OptAnyChar);
            break;
        case ':':
            add(TKind::Literal, QLatin1Char(':'));
            break;
        case '/':
            add(TKind::Literal, DateSeparator());
            break;
        case '_':
            add(TKind::Literal, QLatin1Char(' '));
            break;
        default:
            add(TKind::Literal, c);
            break;
        }
    }
    if (i >= mask.size())
        return;
    // Save-literals field up to the next ';', then the blank character.
    const int second = mask.indexOf(QLatin1Char(';'), i + 1);
    const QString save = mask.mid(i + 1, second < 0 ? -1 : second - i - 1);
    FSaveLiterals = !save.startsWith(QLatin1Char('0'));
    if (second >= 0 && second + 1 < mask.size())
        FBlank = mask.at(second + 1);
}

bool TEditMask::IsLiteral(int pos) const
{
    return pos < 0 || pos >= Length() || FPositions.at(pos).Kind == TKind::Literal;
}

bool TEditMask::IsRequired(int pos) const
{
    if (pos < 0 || pos >= Length())
        return false;
    switch (FPositions.at(pos).Kind) {
    case TKind::Digit:
    case TKind::Letter:
    case TKind::AlphaNum:
    case TKind::AnyChar:
        return true;
    default:
        return false;
    }
}

bool TEditMask::Accepts(int pos, QChar c) const
{
    if (pos < 0 || pos >= Length() || c == FBlank || c.isSurrogate() || !c.isPrint())
        return false;
    switch (FPositions.at(pos).Kind) {
    case TKind::Literal:
        return false;
    case TKind::Digit:
    case TKind::OptDigit:
        return IsAsciiDigit(c);
    case TKind::OptDigitSign:
        return IsAsciiDigit(c) || c == QLatin1Char('+') || c == QLatin1Char('-');
    case TKind::Letter:
    case TKind::OptLetter:
        return c.isLetter();
    case TKind::AlphaNum:
    case TKind::OptAlphaNum:
        return c.isLetter() || IsAsciiDigit(c);
    case TKind::AnyChar:
    case TKind::OptAnyChar:
        return true;
    }
    return false;
}

QChar TEditMask::Convert(int pos, QChar c) const
{
    if (pos < 0 || pos >= Length())
        return c;
    switch (FPositions.at(pos).Case) {
    case TCase::Upper:
        return c.toUpper();
    case TCase::Lower:
        return c.toLower();
    case TCase::None:
        break;
    }
    return c;
}

int TEditMask::NextInput(int pos) const
{
    for (int p = std::max(pos, 0); p < Length(); ++p)
        if (!IsLiteral(p))
            return p;
    return Length();
}

int TEditMask::PrevInput(int pos) const
{
    for (int p = std::min(pos, Length() - 1); p >= 0; --p)
        if (!IsLiteral(p))
            return p;
    return -1;
}

QString TEditMask::EmptyEditText() const
{
    QString text;
    text.reserve(Length());
    for (const TPosition &position : FPositions)
        text.append(position.Kind == TKind::Literal ? position.Char : FBlank);
    return text;
}

bool TEditMask::IsFilled(const QString &editText, int pos) const
{
    return !IsLiteral(pos) && pos < editText.size() && editText.at(pos) != FBlank;
}

void TEditMask::Fit(QString &editText) const
{
    if (editText.size() == Length())
        return;
    const QString empty = EmptyEditText();
    if (editText.size() > Length())
        editText.truncate(Length());
    else
        editText.append(empty.mid(editText.size()));
}

int TEditMask::TypeChar(QString &editText, int cursor, QChar c) const
{
    Fit(editText);
    const int pos = NextInput(cursor);
    if (pos >= Length() || !Accepts(pos, c))
        return -1;
    editText[pos] = Convert(pos, c);
    return NextInput(pos + 1);
}

void TEditMask::Clear(QString &editText, int from, int to) const
{
    Fit(editText);
    for (int p = std::max(from, 0); p < std::min(to, Length()); ++p)
        if (!IsLiteral(p))
            editText[p] = FBlank;
}

int TEditMask::Backspace(QString &editText, int cursor) const
{
    Fit(editText);
    const int pos = PrevInput(cursor - 1);
    if (pos < 0)
        return NextInput(0);
    editText[pos] = FBlank;
    return pos;
}

int TEditMask::Delete(QString &editText, int cursor) const
{
    Fit(editText);
    const int pos = NextInput(cursor);
    if (pos >= Length())
        return cursor;
    editText[pos] = FBlank;
    return pos;
}

int TEditMask::Paste(QString &editText, int cursor, const QString &text) const
{
    Fit(editText);
    QList<int> order;
    for (int p = std::max(cursor, 0); p < Length(); ++p)
        order.append(p);
    const QList<QChar> placed = Align(order, text, true);
    int last = -1;
    for (int k = 0; k < placed.size(); ++k)
        if (!placed.at(k).isNull())
            last = k;
    if (last < 0)
        return cursor;
    // Positions the pasted text skips keep what they held.
    for (int k = 0; k <= last; ++k) {
        const int p = order.at(k);
        if (!IsLiteral(p) && !placed.at(k).isNull())
            editText[p] = Convert(p, placed.at(k));
    }
    return NextInput(order.at(last) + 1);
}

QString TEditMask::Value(const QString &editText) const
{
    QString value;
    bool anyFilled = false;
    for (int p = 0; p < Length(); ++p) {
        if (IsLiteral(p)) {
            if (FSaveLiterals)
                value.append(FPositions.at(p).Char);
        } else if (IsFilled(editText, p)) {
            value.append(editText.at(p));
            anyFilled = true;
        }
    }
    return anyFilled ? value : QString();
}

QString TEditMask::EditTextOf(const QString &value) const
{
    QString editText = EmptyEditText();
    QList<int> order;
    for (int p = 0; p < Length(); ++p)
        order.append(p);
    QString text = value;
    if (FLeadingBlanks) {
        std::reverse(order.begin(), order.end());
        std::reverse(text.begin(), text.end());
    }
    // A value without literals must not have its characters taken for them.
    const QList<QChar> placed = Align(order, text, FSaveLiterals);
    for (int k = 0; k < order.size(); ++k) {
        const int p = order.at(k);
        if (!IsLiteral(p) && !placed.at(k).isNull())
            editText[p] = Convert(p, placed.at(k));
    }
    return editText;
}

// Every character of the text either goes to a position that takes it, is matched
// by an equal literal, or is dropped; a position gets at most one character and
// the order is kept. The layout keeping the most characters wins, a literal left
// unmatched counting slightly against it; among equals, earlier positions are
// filled first.
QList<QChar> TEditMask::Align(const QList<int> &order, const QString &text, bool matchLiterals) const
{
    const int n = int(order.size());
    const int m = std::min(int(text.size()), MaxAlignedText);
    const int width = m + 1;
    // Scores lie within +-2 x MaxMaskLength, so 16 bits hold them: 2 MB at the most.
    std::vector<qint16> best(size_t(n + 1) * size_t(width), 0);
    auto at = [&](int i, int j) -> qint16 & { return best[size_t(i) * size_t(width) + size_t(j)]; };
    auto skipCost = [&](int i) { return matchLiterals && IsLiteral(order.at(i)) ? -1 : 0; };
    auto fits = [&](int i, int j) {
        const int p = order.at(i);
        if (IsLiteral(p))
            return matchLiterals && text.at(j) == FPositions.at(p).Char;
        return Accepts(p, text.at(j));
    };

    for (int i = n - 1; i >= 0; --i) {
        at(i, m) = qint16(skipCost(i) + at(i + 1, m));
        for (int j = m - 1; j >= 0; --j) {
            const int place = fits(i, j) ? 2 + at(i + 1, j + 1) : Impossible;
            const int drop = at(i, j + 1);
            const int skip = skipCost(i) + at(i + 1, j);
            at(i, j) = qint16(std::max({place, drop, skip}));
        }
    }

    QList<QChar> placed(n);
    int i = 0;
    int j = 0;
    while (i < n) {
        if (j < m && fits(i, j) && 2 + at(i + 1, j + 1) == at(i, j)) {
            placed[i] = text.at(j);
            ++i;
            ++j;
        } else if (j < m && at(i, j + 1) == at(i, j)) {
            ++j;
        } else {
            ++i;
        }
    }
    return placed;
}
