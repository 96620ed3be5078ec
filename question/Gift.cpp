#include "question/Gift.h"

#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace {

// Escaped characters stand in the text as private-use characters while the question's
// structure is taken apart, so that an escaped brace never counts as a brace.
const QString Escapable = QStringLiteral("\\~=#{}:n");
constexpr char16_t FirstStandIn = 0xE000;

QString Protect(const QString &raw)
{
    QString out;
    out.reserve(raw.size());
    for (int i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == QLatin1Char('\\') && i + 1 < raw.size()) {
            const int index = Escapable.indexOf(raw.at(i + 1));
            if (index >= 0) {
                out += QChar(char16_t(FirstStandIn + index));
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString Restore(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const int index = c.unicode() - FirstStandIn;
        if (index >= 0 && index < Escapable.size())
            out += Escapable.at(index) == QLatin1Char('n') ? QChar(u'\n') : Escapable.at(index);
        else
            out += c;
    }
    return out;
}

const QHash<QString, QString> &NamedEntities()
{
    static const QHash<QString, QString> entities{
        {"amp", "&"},
        {"lt", "<"},
        {"gt", ">"},
        {"quot", "\""},
        {"apos", "'"},
        {"nbsp", " "},
        {"copy", QString(QChar(0x00A9))},
        {"reg", QString(QChar(0x00AE))},
        {"deg", QString(QChar(0x00B0))},
        {"hellip", QString(QChar(0x2026))},
        {"ndash", QString(QChar(0x2013))},
        {"mdash", QString(QChar(0x2014))},
        {"lsquo", QString(QChar(0x2018))},
        {"rsquo", QString(QChar(0x2019))},
        {"ldquo", QString(QChar(0x201C))},
        {"rdquo", QString(QChar(0x201D))},
        {"times", QString(QChar(0x00D7))},
        {"divide", QString(QChar(0x00F7))},
        {"plusmn", QString(QChar(0x00B1))},
        {"euro", QString(QChar(0x20AC))},
        {"auml", QString(QChar(0x00E4))},
        {"ouml", QString(QChar(0x00F6))},
        {"uuml", QString(QChar(0x00FC))},
        {"Auml", QString(QChar(0x00C4))},
        {"Ouml", QString(QChar(0x00D6))},
        {"Uuml", QString(QChar(0x00DC))},
        {"szlig", QString(QChar(0x00DF))},
        {"eacute", QString(QChar(0x00E9))},
        {"egrave", QString(QChar(0x00E8))},
        {"agrave", QString(QChar(0x00E0))},
        {"ccedil", QString(QChar(0x00E7))},
    };
    return entities;
}

QString DecodeEntities(const QString &text)
{
    static const QRegularExpression entity(QStringLiteral("&(#[0-9]+|#[xX][0-9a-fA-F]+|[A-Za-z]+);"));
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        const QString body = m.captured(1);
        QString replacement = m.captured(0);
        if (body.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const bool hex = body.size() > 1 && (body.at(1) == QLatin1Char('x') || body.at(1) == QLatin1Char('X'));
            const uint code = hex ? body.mid(2).toUInt(&ok, 16) : body.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF) {
                const char32_t c = code;
                replacement = QString::fromUcs4(&c, 1);
            }
        } else if (NamedEntities().contains(body)) {
            replacement = NamedEntities().value(body);
        }
        out += replacement;
        last = m.capturedEnd();
    }
    out += text.mid(last);
    return out;
}

// Tags removed, entities decoded; paragraphs and line breaks become lines.
QString HtmlToPlain(QString text)
{
    static const QRegularExpression lineBreak(QStringLiteral("<br\\s*/?>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression blockEnd(QStringLiteral("</(p|div|li|h[1-6]|tr)\\s*>"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression blanks(QStringLiteral("[ \\t\\x{00A0}]+"));
    text.replace(lineBreak, QStringLiteral("\n"));
    text.replace(blockEnd, QStringLiteral("\n"));
    text.remove(tag);
    text = DecodeEntities(text);
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line.replace(blanks, QStringLiteral(" "));
        line = line.trimmed();
        if (!line.isEmpty())
            lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

// The words of a Markdown text without its marks of emphasis, headings, lists and links.
QString MarkdownToPlain(const QString &text)
{
    static const QList<QPair<QRegularExpression, QString>> rules{
        {QRegularExpression(QStringLiteral("^\\s{0,3}#{1,6}\\s+")), QString()},
        {QRegularExpression(QStringLiteral("^\\s*>\\s?")), QString()},
        {QRegularExpression(QStringLiteral("^\\s*(?:[-*+]|\\d+\\.)\\s+")), QString()},
        {QRegularExpression(QStringLiteral("!\\[([^\\]]*)\\]\\([^)]*\\)")), QStringLiteral("\\1")},
        {QRegularExpression(QStringLiteral("\\[([^\\]]*)\\]\\([^)]*\\)")), QStringLiteral("\\1")},
        {QRegularExpression(QStringLiteral("\\*\\*([^*\\s](?:.*?[^*\\s])?)\\*\\*")), QStringLiteral("\\1")},
        {QRegularExpression(QStringLiteral("(?<![\\w_])__([^_\\s](?:.*?[^_\\s])?)__(?![\\w_])")),
         QStringLiteral("\\1")},
        {QRegularExpression(QStringLiteral("\\*(\\S(?:.*?\\S)?)\\*")), QStringLiteral("\\1")},
        {QRegularExpression(QStringLiteral("(?<![\\w_])_([^_\\s](?:[^_]*?[^_\\s])?)_(?![\\w_])")),
         QStringLiteral("\\1")},
        {QRegularExpression(QStringLiteral("`([^`]*)`")), QStringLiteral("\\1")},
    };
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        for (const auto &[pattern, replacement] : rules)
            line.replace(pattern, replacement);
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

// A piece of question or answer text as the question keeps it: escapes resolved, the
// format's marks removed, line breaks as carriage return + line feed.
QString CleanText(const QString &protectedText, const QString &format)
{
    QString text = Restore(protectedText);
    if (format == QLatin1String("html"))
        text = HtmlToPlain(text);
    else if (format == QLatin1String("markdown"))
        text = MarkdownToPlain(text);
    return text.trimmed().split(QLatin1Char('\n')).join(QStringLiteral("\r\n"));
}

struct TAnswer {
    QChar Mark; // '=' or '~'
    bool Weighted = false; // a %n% weight was written
    double Weight = 0; // in percent; an unweighted '=' counts 100
    QString Raw; // the answer's text without mark, weight and feedback (still protected)
};

const QRegularExpression &WeightPattern()
{
    // Right after the mark, as Moodle reads it: " %50% off" is a choice's text.
    static const QRegularExpression weight(QStringLiteral("^%\\s*(-?[0-9]+(?:\\.[0-9]*)?)\\s*%"));
    return weight;
}

// The answers of a set, each begun by = or ~. False with the reason when text stands
// before the first answer or there is none.
bool SplitAnswers(const QString &set, QList<TAnswer> &answers, QString &reason)
{
    static const QRegularExpression mark(QStringLiteral("[=~]"));
    const qsizetype first = set.indexOf(mark);
    if (first < 0) {
        reason = QStringLiteral("no answer begins with = or ~");
        return false;
    }
    if (!set.left(first).trimmed().isEmpty()) {
        reason = QStringLiteral("text before the first answer: ") + Restore(set.left(first).trimmed());
        return false;
    }
    for (qsizetype i = first; i < set.size();) {
        qsizetype next = set.indexOf(mark, i + 1);
        if (next < 0)
            next = set.size();
        TAnswer answer;
        answer.Mark = set.at(i);
        QString body = set.mid(i + 1, next - i - 1);
        const QRegularExpressionMatch weight = WeightPattern().match(body);
        if (weight.hasMatch()) {
            answer.Weighted = true;
            answer.Weight = QLocale::c().toDouble(weight.captured(1));
            body = body.mid(weight.capturedEnd());
        } else {
            answer.Weight = answer.Mark == QLatin1Char('=') ? 100 : 0;
        }
        const qsizetype feedback = body.indexOf(QLatin1Char('#'));
        answer.Raw = (feedback >= 0 ? body.left(feedback) : body).trimmed();
        answers << answer;
        i = next;
    }
    return true;
}

// Our own stored names (QACombobox_5) tell the kind where GIFT has no word for it.
QString KindOfName(const QString &name)
{
    static const QRegularExpression ours(
        QStringLiteral("^QA(MaskEdit|Combobox|RadioGroup|Listbox|RichEdit|DateTime)_[0-9]+$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QStringList kinds{QStringLiteral("TQAMaskEdit"),   QStringLiteral("TQACombobox"),
                                   QStringLiteral("TQARadioGroup"), QStringLiteral("TQAListbox"),
                                   QStringLiteral("TQARichEdit"),   QStringLiteral("TQADateTime")};
    const QRegularExpressionMatch m = ours.match(name);
    if (!m.hasMatch())
        return QString();
    for (const QString &kind : kinds)
        if (kind.mid(3).compare(m.captured(1), Qt::CaseInsensitive) == 0)
            return kind;
    return QString();
}

QString Number(double value)
{
    QString text = QString::number(value, 'f', 5);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

void ReadNumerical(TGiftQuestion &q, QString body)
{
    body = body.trimmed();
    if (body.isEmpty()) {
        q.SkipReason = QStringLiteral("the numerical answer set holds no number");
        return;
    }
    if (body.contains(QLatin1Char('=')) || body.contains(QLatin1Char('~'))) {
        QList<TAnswer> answers;
        if (!SplitAnswers(body, answers, q.SkipReason))
            return;
        if (answers.size() > 1) {
            q.SkipReason = QStringLiteral("a numerical question with several answers has no kind here");
            return;
        }
        body = answers.first().Raw;
    } else {
        const qsizetype feedback = body.indexOf(QLatin1Char('#'));
        if (feedback >= 0)
            body = body.left(feedback).trimmed();
    }
    body = Restore(body).trimmed();
    if (body.contains(QLatin1String(".."))) {
        q.SkipReason = QStringLiteral("a numerical range (") + body + QStringLiteral(") has no kind here");
        return;
    }
    QString value = body;
    QString tolerance;
    const qsizetype colon = body.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        value = body.left(colon).trimmed();
        tolerance = body.mid(colon + 1).trimmed();
    }
    bool ok = false;
    (void)QLocale::c().toDouble(value, &ok);
    if (!ok) {
        q.SkipReason = QStringLiteral("not a number: ") + body;
        return;
    }
    bool toleranceOk = tolerance.isEmpty();
    if (!toleranceOk)
        (void)QLocale::c().toDouble(tolerance, &toleranceOk);
    if (!toleranceOk) {
        q.SkipReason = QStringLiteral("not a tolerance: ") + tolerance;
        return;
    }
    q.ClassName = QStringLiteral("TQAMaskEdit");
    q.Correct = {value};
    if (!tolerance.isEmpty() && QLocale::c().toDouble(tolerance) != 0)
        q.Notes << QStringLiteral("tolerance ") + tolerance + QStringLiteral(" dropped, the exact value is correct");
}

void ReadChoices(TGiftQuestion &q, const QString &set, const QString &format, const QString &hint)
{
    QList<TAnswer> answers;
    if (!SplitAnswers(set, answers, q.SkipReason))
        return;
    bool anyRight = false;
    bool anyWrong = false;
    bool anyWeight = false;
    for (const TAnswer &answer : std::as_const(answers)) {
        if (answer.Raw.contains(QLatin1String("->"))) {
            q.SkipReason = QStringLiteral("a matching question has no kind here");
            return;
        }
        if (Restore(answer.Raw).trimmed().isEmpty()) {
            q.SkipReason = QStringLiteral("an answer without text");
            return;
        }
        anyRight = anyRight || answer.Mark == QLatin1Char('=');
        anyWrong = anyWrong || answer.Mark == QLatin1Char('~');
        anyWeight = anyWeight || answer.Weighted;
    }
    QStringList texts;
    for (const TAnswer &answer : std::as_const(answers))
        texts << CleanText(answer.Raw, format);

    if (!anyWrong) {
        // Short answer: every answer is accepted; the first with full credit is kept.
        qsizetype full = -1;
        for (qsizetype i = 0; i < answers.size() && full < 0; ++i)
            if (answers.at(i).Weight >= 100)
                full = i;
        if (full < 0) {
            q.SkipReason = QStringLiteral("no answer gives full credit");
            return;
        }
        q.Correct = {texts.at(full)};
        q.ClassName =
            hint == QLatin1String("TQADateTime") && IsValidDate(texts.at(full)) ? hint : QStringLiteral("TQAMaskEdit");
        QStringList dropped = texts;
        dropped.removeAt(full);
        if (!dropped.isEmpty())
            q.Notes << QStringLiteral("other accepted answers dropped: ") + dropped.join(QStringLiteral(", "));
        return;
    }

    q.Answers = texts;
    if (anyRight) {
        // One correct choice: the first = answer.
        qsizetype right = -1;
        int rights = 0;
        for (qsizetype i = 0; i < answers.size(); ++i)
            if (answers.at(i).Mark == QLatin1Char('=')) {
                ++rights;
                if (right < 0)
                    right = i;
            }
        q.Correct = {texts.at(right)};
        if (hint == QLatin1String("TQACombobox") || hint == QLatin1String("TQAListbox"))
            q.ClassName = hint;
        else
            q.ClassName = QStringLiteral("TQARadioGroup");
        if (anyWeight)
            q.Notes << QStringLiteral("partial-credit weights dropped");
        if (rights > 1)
            q.Notes << QStringLiteral("only the first of %1 correct answers kept").arg(rights);
        return;
    }

    // Several correct choices: those with a positive weight.
    for (qsizetype i = 0; i < answers.size(); ++i)
        if (answers.at(i).Weight > 0)
            q.Correct << texts.at(i);
    if (q.Correct.isEmpty()) {
        q.SkipReason = QStringLiteral("no answer is marked correct");
        q.Answers.clear();
        return;
    }
    q.ClassName = QStringLiteral("TQAListbox");
    q.MultiSelect = true;
    if (anyWeight)
        q.Notes << QStringLiteral("partial-credit weights dropped, every choice with a positive weight must be chosen");
}

TGiftQuestion ReadQuestion(const QString &raw, int line)
{
    TGiftQuestion q;
    q.Line = line;
    QString s = Protect(raw);
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s = s.trimmed();

    if (s.startsWith(QLatin1String("::"))) {
        const qsizetype end = s.indexOf(QLatin1String("::"), 2);
        if (end < 0) {
            q.SkipReason = QStringLiteral("the question name is not closed by ::");
            return q;
        }
        q.Name = Restore(s.mid(2, end - 2)).trimmed();
        s = s.mid(end + 2).trimmed();
    }
    QString format;
    static const QRegularExpression formatMark(QStringLiteral("^\\[(html|moodle|plain|markdown)\\]"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch formatMatch = formatMark.match(s);
    if (formatMatch.hasMatch()) {
        format = formatMatch.captured(1).toLower();
        s = s.mid(formatMatch.capturedEnd());
    }

    const qsizetype open = s.indexOf(QLatin1Char('{'));
    const qsizetype stray = s.indexOf(QLatin1Char('}'));
    if (open < 0) {
        q.SkipReason = stray >= 0 ? QStringLiteral("a closing brace } without an opening one")
                                  : QStringLiteral("no answer set in braces { }");
        return q;
    }
    if (stray >= 0 && stray < open) {
        q.SkipReason = QStringLiteral("a closing brace } without an opening one");
        return q;
    }
    const qsizetype close = s.indexOf(QLatin1Char('}'), open + 1);
    const qsizetype nested = s.indexOf(QLatin1Char('{'), open + 1);
    if (close < 0 || (nested >= 0 && nested < close)) {
        q.SkipReason = QStringLiteral("the brace { is not closed");
        return q;
    }
    if (s.indexOf(QLatin1Char('{'), close + 1) >= 0 || s.indexOf(QLatin1Char('}'), close + 1) >= 0) {
        q.SkipReason = QStringLiteral("more than one answer set in braces");
        return q;
    }
    const QString before = s.left(open);
    QString set = s.mid(open + 1, close - open - 1);
    const QString after = s.mid(close + 1);
    // Answers inside the sentence: the blank shows where they stood.
    q.Question = CleanText(after.trimmed().isEmpty() ? before : before + QStringLiteral("_____") + after, format);

    QString generalFeedback;
    const qsizetype general = set.indexOf(QLatin1String("####"));
    if (general >= 0) {
        generalFeedback = set.mid(general + 4);
        set = set.left(general);
    }
    set = set.trimmed();
    const QString hint = KindOfName(q.Name);

    static const QRegularExpression trueFalse(QStringLiteral("^(T|TRUE|F|FALSE)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (set.isEmpty()) {
        q.ClassName = QStringLiteral("TQARichEdit");
        // Our own essays carry their model answer as the general feedback.
        if (hint == q.ClassName)
            q.Correct = {CleanText(generalFeedback, format)};
    } else if (set.startsWith(QLatin1Char('#'))) {
        ReadNumerical(q, set.mid(1));
    } else if (trueFalse.match(set.section(QLatin1Char('#'), 0, 0).trimmed()).hasMatch()) {
        q.ClassName = QStringLiteral("TQARadioGroup");
        q.Answers = {QStringLiteral("True"), QStringLiteral("False")};
        q.Correct = {set.startsWith(QLatin1Char('T'), Qt::CaseInsensitive) ? QStringLiteral("True")
                                                                           : QStringLiteral("False")};
    } else {
        ReadChoices(q, set, format, hint);
    }
    if (q.SkipReason.isEmpty() && q.Question.isEmpty())
        q.SkipReason = QStringLiteral("the question has no text");
    if (!q.SkipReason.isEmpty()) {
        q.ClassName.clear();
        q.Notes.clear();
    }
    return q;
}

// The offset of the first byte that is not part of well-formed UTF-8; -1 when all are.
qsizetype FirstInvalidUtf8(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar c = uchar(bytes.at(i));
        int follow = 0;
        char32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            follow = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3;
            code = c & 0x07;
        } else {
            return i;
        }
        if (i + follow >= bytes.size())
            return i;
        for (int k = 1; k <= follow; ++k) {
            const uchar next = uchar(bytes.at(i + k));
            if ((next & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode.
        if ((follow == 2 && code < 0x800) || (follow == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += follow + 1;
    }
    return -1;
}

} // namespace

bool DecodeGiftText(const QByteArray &bytes, QString &text, QString *error)
{
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return fail(
            QStringLiteral("The file is UTF-16 text; only UTF-8 text can be read. Save it as UTF-8 and try again."));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar c = uchar(bytes.at(i));
        if (c == 0 || (c < 32 && c != '\t' && c != '\n' && c != '\r' && c != '\f'))
            return fail(QStringLiteral("The file is not a text file (binary data at byte %1).").arg(i + 1));
    }
    const qsizetype bad = FirstInvalidUtf8(bytes);
    if (bad >= 0)
        return fail(
            QStringLiteral("The file is not UTF-8 text (at byte %1). Save it as UTF-8 and try again.").arg(bad + 1));
    QString decoded = QString::fromUtf8(bytes);
    if (decoded.startsWith(QChar(0xFEFF)))
        decoded.remove(0, 1);
    text = decoded;
    return true;
}

QList<TGiftQuestion> ReadGift(const QString &text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QString all = text;
    if (all.startsWith(QChar(0xFEFF)))
        all.remove(0, 1);
    const QStringList lines = all.split(lineEnd);
    QList<TGiftQuestion> questions;
    QStringList block;
    int start = 0;
    const auto flush = [&] {
        if (!block.isEmpty())
            questions << ReadQuestion(block.join(QLatin1Char('\n')), start);
        block.clear();
    };
    for (int i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines.at(i).trimmed();
        if (trimmed.isEmpty()) {
            flush();
            continue;
        }
        if (trimmed.startsWith(QLatin1String("//")) ||
            trimmed.startsWith(QLatin1String("$CATEGORY:"), Qt::CaseInsensitive))
            continue;
        if (block.isEmpty())
            start = i + 1;
        block << lines.at(i);
    }
    flush();
    return questions;
}

QString GiftEscape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            out += QStringLiteral("\\n");
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\\n");
        } else {
            if (Escapable.indexOf(c) >= 0 && c != QLatin1Char('n'))
                out += QLatin1Char('\\');
            out += c;
        }
    }
    return out;
}

namespace {

// A choice's text; one that begins with % would be read as a weight.
QString ChoiceText(const QString &text)
{
    return (text.startsWith(QLatin1Char('%')) ? QStringLiteral(" ") : QString()) + GiftEscape(text);
}

} // namespace

QString WriteGift(const QList<TGiftQuestion> &questions)
{
    QString out;
    for (const TGiftQuestion &q : questions) {
        if (!q.Name.isEmpty())
            out += QStringLiteral("::") + GiftEscape(q.Name) + QStringLiteral("::");
        out += GiftEscape(q.Question) + QStringLiteral(" {");
        const QString first = q.Correct.value(0);
        if (q.ClassName == QLatin1String("TQARichEdit")) {
            if (!first.isEmpty())
                out += QStringLiteral("####") + GiftEscape(first);
        } else if (q.ClassName == QLatin1String("TQAMaskEdit") || q.ClassName == QLatin1String("TQADateTime")) {
            out += QLatin1Char('=') + GiftEscape(first);
        } else if (q.ClassName == QLatin1String("TQAListbox") && q.MultiSelect) {
            QStringList correct = q.Correct;
            const qsizetype right = std::max<qsizetype>(1, correct.size());
            for (const QString &answer : q.Answers) {
                const bool isRight = correct.removeOne(answer);
                out += QStringLiteral("\n\t~%") + (isRight ? Number(100.0 / double(right)) : QStringLiteral("-100")) +
                       QLatin1Char('%') + ChoiceText(answer);
            }
            out += QLatin1Char('\n');
        } else {
            bool marked = false;
            for (const QString &answer : q.Answers) {
                const bool isRight = !marked && answer == first;
                marked = marked || isRight;
                out += QStringLiteral("\n\t") + (isRight ? QLatin1Char('=') : QLatin1Char('~')) + ChoiceText(answer);
            }
            out += QLatin1Char('\n');
        }
        out += QStringLiteral("}\n\n");
    }
    return out;
}

TGiftQuestion GiftQuestionOf(const QObject *control, const QString &name)
{
    TGiftQuestion q;
    q.Name = name;
    q.ClassName = control ? ComponentClassName(control) : QString();
    q.Question = GetQuestionText(control);
    if (auto *edit = qobject_cast<const TQAMaskEdit *>(control)) {
        q.Correct = {edit->CorrectAnswer()};
    } else if (auto *combo = qobject_cast<const TQACombobox *>(control)) {
        q.Answers = combo->Answers()->Lines();
        q.Correct = {combo->CorrectAnswer()};
    } else if (auto *radio = qobject_cast<const TQARadioGroup *>(control)) {
        q.Answers = radio->Answers()->Lines();
        q.Correct = {radio->CorrectAnswer()};
    } else if (auto *list = qobject_cast<const TQAListbox *>(control)) {
        q.Answers = list->Answers()->Lines();
        q.Correct = list->CorrectAnswers()->Lines();
        q.MultiSelect = list->MultiSelect();
    } else if (auto *memo = qobject_cast<const TQARichEdit *>(control)) {
        q.Correct = {memo->CorrectAnswer()};
    } else if (auto *date = qobject_cast<const TQADateTime *>(control)) {
        q.Correct = {date->CorrectAnswer()};
    }
    return q;
}
