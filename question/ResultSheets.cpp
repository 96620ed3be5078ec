#include "question/ResultSheets.h"

#include "database/Database.h"
#include "question/Grading.h"
#include "question/QuestionText.h"
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"

#include <QDate>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

const QString CRLF = QStringLiteral("\r\n");

const QString &StatusIncomplete = Grading::Incomplete;
const QString NoGrade = QStringLiteral("0");
const QString MarkCorrect = QStringLiteral(" (CORRECT)");
const QString MarkIncorrect = QStringLiteral(" (INCORRECT)");

// A result counts as taken once it holds a pass or a fail.
bool IsTaken(const QString &status)
{
    return Grading::IsFinished(status);
}

// Keys go into statements unquoted: only whole numbers.
QString KeyList(const QStringList &keys)
{
    QStringList checked;
    for (const QString &key : keys) {
        if (!IsValidInteger(key.trimmed()))
            throw EDatabaseError(QStringLiteral("\"%1\" is not a valid key.").arg(key));
        checked.append(QString::number(StrToIntDef(key, 0)));
    }
    return checked.join(QStringLiteral(", "));
}

QString IsoDate(const TDbField &field)
{
    const QString stored = QString::fromUtf8(field.AsBytes());
    const QDate date = QDate::fromString(stored.left(10), Qt::ISODate);
    return date.isValid() ? date.toString(Qt::ISODate) : field.AsString();
}

QString Percent(double value)
{
    return QString::number(value, 'f', 1);
}

QString Index(double value)
{
    return QString::number(value, 'f', 2);
}

// Whether an entry number ("12. ") stands at position at.
bool NumberedAt(const QString &text, qsizetype at)
{
    qsizetype i = at;
    while (i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128)
        ++i;
    return i > at && QStringView(text).mid(i).startsWith(QLatin1String(". "));
}

} // namespace

// ---------------------------------------------------------------- CSV

QString CsvField(const QString &text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return special.contains(c); }))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString CsvLine(const QStringList &fields)
{
    QStringList written;
    for (const QString &field : fields)
        written.append(CsvField(field));
    return written.join(QLatin1Char(',')) + CRLF;
}

QByteArray CsvBytes(const QList<QStringList> &rows, bool byteOrderMark)
{
    QString text;
    for (const QStringList &row : rows)
        text += CsvLine(row);
    QByteArray bytes = byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    return bytes + text.toUtf8();
}

bool WriteCsvFile(const QString &fileName, const QList<QStringList> &rows, QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(CsvBytes(rows)) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1 could not be written: %2").arg(fileName, file.errorString());
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- Gradebook

QList<TGradePair> ReadGradePairs(TDbQuery &query, const QStringList &classKeys, const QStringList &testKeys)
{
    query.Close();
    query.Clear();
    query.Add(QStringLiteral("SELECT classmaster.ID AS CLASSKEY_, classmaster.NAME AS CLASSNAME_,"));
    query.Add(QStringLiteral("testmaster.ID AS TESTKEY_, testmaster.NAME AS TESTNAME_, CHAPTER"));
    query.Add(QStringLiteral("FROM classtest, classmaster, testmaster"));
    query.Add(QStringLiteral("WHERE classmaster.ID = classtest.CLASSID AND testmaster.ID = classtest.TESTID"));
    if (!classKeys.isEmpty())
        query.Add(QStringLiteral("AND classmaster.ID IN (") + KeyList(classKeys) + QLatin1Char(')'));
    if (!testKeys.isEmpty())
        query.Add(QStringLiteral("AND testmaster.ID IN (") + KeyList(testKeys) + QLatin1Char(')'));
    query.Add(
        QStringLiteral("ORDER BY classmaster.NAME, classmaster.ID, testmaster.NAME, testmaster.ID, classtest.ID"));
    query.Open();
    QList<TGradePair> pairs;
    QSet<QString> seen;
    for (; !query.Eof(); query.Next()) {
        TGradePair pair;
        pair.ClassKey = query.FieldByName(QStringLiteral("CLASSKEY_")).AsString();
        pair.TestKey = query.FieldByName(QStringLiteral("TESTKEY_")).AsString();
        // A test assigned twice to one class is one gradebook.
        if (seen.contains(pair.ClassKey + QLatin1Char('/') + pair.TestKey))
            continue;
        seen.insert(pair.ClassKey + QLatin1Char('/') + pair.TestKey);
        pair.ClassName = query.FieldByName(QStringLiteral("CLASSNAME_")).AsString();
        pair.TestName = query.FieldByName(QStringLiteral("TESTNAME_")).AsString();
        pair.Chapter = query.FieldByName(QStringLiteral("CHAPTER")).AsString();
        pairs.append(pair);
    }
    query.Close();
    return pairs;
}

QList<TGradeRow> ReadGradeRows(TDbQuery &query, const TGradePair &pair)
{
    const QString classKey = KeyList({pair.ClassKey});
    const QString testKey = KeyList({pair.TestKey});
    struct TStored {
        QString Grade, Status, Date;
    };
    QHash<QString, TStored> results;
    query.Close();
    query.Clear();
    query.Add(QStringLiteral("SELECT STUDENTID, GRADE, STATUS, TESTDATE FROM testresults"));
    query.Add(QStringLiteral("WHERE CLASSID = ") + classKey + QStringLiteral(" AND TESTID = ") + testKey);
    // Of rows doubled by older copies of the program, the latest counts.
    query.Add(QStringLiteral("ORDER BY SERIAL DESC"));
    query.Open();
    for (; !query.Eof(); query.Next()) {
        const QString key = query.FieldByName(QStringLiteral("STUDENTID")).AsString().toCaseFolded();
        if (!results.contains(key))
            results.insert(key, {query.FieldByName(QStringLiteral("GRADE")).AsString(),
                                 query.FieldByName(QStringLiteral("STATUS")).AsString(),
                                 IsoDate(query.FieldByName(QStringLiteral("TESTDATE")))});
    }
    query.Close();

    QList<TGradeRow> rows;
    query.Clear();
    query.Add(QStringLiteral("SELECT studentmaster.STUDENTID AS STUDENTKEY_, LASTNAME, FIRSTNAME, MIDDLE"));
    query.Add(QStringLiteral("FROM classdetail, studentmaster"));
    query.Add(QStringLiteral("WHERE classdetail.CLASSID = ") + classKey);
    query.Add(QStringLiteral("AND studentmaster.STUDENTID = classdetail.STUDENTID"));
    query.Add(QStringLiteral("ORDER BY LASTNAME, FIRSTNAME, MIDDLE, studentmaster.STUDENTID"));
    query.Open();
    for (; !query.Eof(); query.Next()) {
        TGradeRow row;
        row.StudentID = query.FieldByName(QStringLiteral("STUDENTKEY_")).AsString();
        row.LastName = query.FieldByName(QStringLiteral("LASTNAME")).AsString();
        row.FirstName = query.FieldByName(QStringLiteral("FIRSTNAME")).AsString();
        row.Middle = query.FieldByName(QStringLiteral("MIDDLE")).AsString();
        row.ClassName = pair.ClassName;
        row.TestName = pair.TestName;
        row.Chapter = pair.Chapter;
        const auto stored = results.constFind(row.StudentID.toCaseFolded());
        row.Grade = stored == results.constEnd() ? NoGrade : stored->Grade;
        row.Status = stored == results.constEnd() ? StatusIncomplete : stored->Status;
        row.Date = stored == results.constEnd() ? QString() : stored->Date;
        rows.append(row);
    }
    query.Close();
    return rows;
}

QList<QStringList> GradeCsvRows(const QList<TGradeRow> &rows)
{
    QList<QStringList> lines{{QStringLiteral("Student ID"), QStringLiteral("Last name"), QStringLiteral("First name"),
                              QStringLiteral("Middle"), QStringLiteral("Class"), QStringLiteral("Test"),
                              QStringLiteral("Chapter"), QStringLiteral("Grade"), QStringLiteral("Status"),
                              QStringLiteral("Date")}};
    for (const TGradeRow &r : rows)
        lines.append({r.StudentID, r.LastName, r.FirstName, r.Middle, r.ClassName, r.TestName, r.Chapter, r.Grade,
                      r.Status, r.Date});
    return lines;
}

// ---------------------------------------------------------------- Transcripts

bool ParseTranscript(const QString &text, QList<TTranscriptEntry> &entries, const QStringList &knownQuestions)
{
    entries.clear();
    // The wizard closes the transcript with one blank.
    QString body = text.endsWith(QLatin1Char(' ')) ? text.chopped(1) : text;
    qsizetype at = 0;
    while (at < body.size()) {
        const QString number = QString::number(entries.size() + 1) + QStringLiteral(". ");
        if (!QStringView(body).mid(at).startsWith(number))
            return false;
        const qsizetype start = at + number.size();
        const QString next = QString::number(entries.size() + 2) + QStringLiteral(". ");
        // The entry ends at the first mark followed by the end or by the next number.
        qsizetype end = -1;
        bool correct = false;
        for (qsizetype from = start; end < 0;) {
            const qsizetype right = body.indexOf(MarkCorrect + CRLF + CRLF + CRLF, from);
            const qsizetype wrong = body.indexOf(MarkIncorrect + CRLF + CRLF + CRLF, from);
            if (right < 0 && wrong < 0)
                return false;
            const bool isRight = wrong < 0 || (right >= 0 && right < wrong);
            const qsizetype mark = isRight ? right : wrong;
            const qsizetype after = mark + (isRight ? MarkCorrect : MarkIncorrect).size() + 6;
            if (after == body.size() || QStringView(body).mid(after).startsWith(next)) {
                end = mark;
                correct = isRight;
                at = after;
            } else if (NumberedAt(body, after)) {
                return false; // an entry out of step: the text is damaged
            } else {
                from = mark + 1;
            }
        }
        const QStringView entry = QStringView(body).mid(start, end - start);
        qsizetype split = -1;
        for (const QString &question : knownQuestions)
            if (entry.startsWith(question + CRLF + CRLF, Qt::CaseInsensitive)) {
                split = question.size();
                break;
            }
        if (split < 0)
            split = entry.indexOf(CRLF + CRLF);
        if (split < 0)
            return false;
        entries.append({entry.left(split).toString(), entry.mid(split + 4).toString(), correct});
    }
    return !entries.isEmpty();
}

// ---------------------------------------------------------------- Question statistics

int DiscriminationGroupSize(int students)
{
    if (students < 2)
        return 0;
    return std::max(1, int(std::lround(students * DiscriminationGroupShare)));
}

QString TItemStatistics::Summary() const
{
    auto plural = [](int n, const char *one, const char *many) {
        return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
    };
    if (NobodyTook())
        return ClassName.isEmpty() ? QStringLiteral("Nobody has taken this test yet.")
                                   : QStringLiteral("Nobody in this class has taken this test yet.");
    QString text = plural(Students, "student", "students");
    if (GroupSize > 0)
        text += QStringLiteral(" (top and bottom groups of %1)").arg(GroupSize);
    if (Skipped > 0)
        text += QStringLiteral("; ") + plural(Skipped, "transcript", "transcripts") +
                QStringLiteral(" could not be read and ") + QLatin1String(Skipped == 1 ? "was" : "were") +
                QStringLiteral(" skipped");
    return text + QLatin1Char('.');
}

QList<QStringList> TItemStatistics::CsvRows() const
{
    QList<QStringList> rows{{QStringLiteral("No."), QStringLiteral("Question"), QStringLiteral("Answered"),
                             QStringLiteral("Right"), QStringLiteral("Facility (%)"),
                             QStringLiteral("Discrimination")}};
    for (const TItemStatistic &item : Items)
        rows.append({QString::number(item.Number), item.Question, QString::number(item.Answered),
                     QString::number(item.Right), item.Answered > 0 ? Percent(item.Facility) : QString(),
                     item.HasDiscrimination ? Index(item.Discrimination) : QString()});
    return rows;
}

TItemStatistics ReadItemStatistics(TDbQuery &query, const QString &testKey, const QString &classKey)
{
    TItemStatistics statistics;
    const QString test = KeyList({testKey});
    const QString cls = classKey.trimmed().isEmpty() ? QString() : KeyList({classKey});

    query.Close();
    query.Clear();
    query.Add(QStringLiteral("SELECT NAME FROM testmaster WHERE ID = ") + test);
    query.Open();
    if (query.Eof()) {
        query.Close();
        throw EDatabaseError(QStringLiteral("There is no test with the ID %1.").arg(test));
    }
    statistics.TestName = query.Fields(0).AsString();
    query.Close();
    if (!cls.isEmpty()) {
        query.Clear();
        query.Add(QStringLiteral("SELECT NAME FROM classmaster WHERE ID = ") + cls);
        query.Open();
        if (query.Eof()) {
            query.Close();
            throw EDatabaseError(QStringLiteral("There is no class with the ID %1.").arg(cls));
        }
        statistics.ClassName = query.Fields(0).AsString();
        query.Close();
    }

    // The question texts as the test wizard shows them: from the rebuilt controls.
    TControlDefList defs;
    LoadTestQuestions(query, defs, test);
    QStringList questions;
    {
        QWidget owner;
        TQuestionControlList controls;
        // A question that cannot be rebuilt keeps the text stored beside it.
        try {
            CreateQuestionControls(defs, controls, &owner, &owner);
        } catch (const Exception &) {
        }
        for (int i = 0; i < defs.size(); ++i) {
            QObject *control = i < controls.size() ? controls.at(i).Control : nullptr;
            questions.append(control ? GetQuestionText(control) : defs.at(i).Def.Question);
        }
    }

    struct TTaken {
        int Grade = 0;
        QString Order;
        QList<int> Right; // per question: -1 not answered, 0 wrong, 1 right
    };
    QList<TTaken> taken;
    query.Clear();
    query.Add(QStringLiteral("SELECT STUDENTID, testresults.CLASSID AS CLASSKEY_, GRADE, STATUS, ANSWERS"));
    query.Add(QStringLiteral("FROM testresults, classmaster"));
    query.Add(QStringLiteral("WHERE TESTID = ") + test + QStringLiteral(" AND classmaster.ID = testresults.CLASSID"));
    if (!cls.isEmpty())
        query.Add(QStringLiteral("AND testresults.CLASSID = ") + cls);
    query.Add(QStringLiteral("ORDER BY SERIAL DESC"));
    query.Open();
    QSet<QString> seen;
    for (; !query.Eof(); query.Next()) {
        const QString student = query.FieldByName(QStringLiteral("STUDENTID")).AsString();
        const QString key = query.FieldByName(QStringLiteral("CLASSKEY_")).AsString() + QLatin1Char('/') +
                            student.toCaseFolded();
        // Of rows doubled by older copies of the program, the latest counts.
        if (seen.contains(key))
            continue;
        seen.insert(key);
        if (!IsTaken(query.FieldByName(QStringLiteral("STATUS")).AsString()))
            continue;
        QList<TTranscriptEntry> entries;
        if (!ParseTranscript(query.FieldByName(QStringLiteral("ANSWERS")).AsString(), entries, questions)) {
            ++statistics.Skipped;
            continue;
        }
        TTaken result;
        result.Grade = query.FieldByName(QStringLiteral("GRADE")).AsInteger();
        result.Order = key;
        // Entry i belongs to question i when the texts agree; otherwise to the first
        // entry of that text not yet used (the test may have changed since).
        QList<bool> used(entries.size(), false);
        for (int q = 0; q < questions.size(); ++q) {
            int match = -1;
            if (q < entries.size() && !used.at(q) &&
                entries.at(q).Question.compare(questions.at(q), Qt::CaseInsensitive) == 0)
                match = q;
            for (int e = 0; match < 0 && e < entries.size(); ++e)
                if (!used.at(e) && entries.at(e).Question.compare(questions.at(q), Qt::CaseInsensitive) == 0)
                    match = e;
            if (match >= 0)
                used[match] = true;
            result.Right.append(match < 0 ? -1 : entries.at(match).Correct ? 1 : 0);
        }
        taken.append(result);
    }
    query.Close();

    statistics.Students = int(taken.size());
    std::sort(taken.begin(), taken.end(), [](const TTaken &a, const TTaken &b) {
        return a.Grade != b.Grade ? a.Grade > b.Grade : a.Order < b.Order;
    });
    const int group = DiscriminationGroupSize(statistics.Students);
    statistics.GroupSize = group;
    for (int q = 0; q < questions.size(); ++q) {
        TItemStatistic item;
        item.Number = q + 1;
        item.Question = questions.at(q);
        for (const TTaken &t : std::as_const(taken))
            if (t.Right.at(q) >= 0) {
                ++item.Answered;
                item.Right += t.Right.at(q);
            }
        if (item.Answered > 0)
            item.Facility = 100.0 * item.Right / item.Answered;
        if (group > 0) {
            int top = 0, bottom = 0;
            for (int i = 0; i < group; ++i) {
                top += taken.at(i).Right.at(q) > 0 ? 1 : 0;
                bottom += taken.at(taken.size() - 1 - i).Right.at(q) > 0 ? 1 : 0;
            }
            item.HasDiscrimination = true;
            item.Discrimination = double(top - bottom) / group;
        }
        statistics.Items.append(item);
    }
    return statistics;
}

QString ItemStatisticsText(const TItemStatistics &statistics)
{
    QString text = QStringLiteral("Test: ") + statistics.TestName + QLatin1Char('\n');
    text += QStringLiteral("Class: ") +
            (statistics.ClassName.isEmpty() ? QStringLiteral("all classes") : statistics.ClassName) + QLatin1Char('\n');
    text += statistics.Summary() + QLatin1Char('\n');
    if (statistics.NobodyTook())
        return text;
    const QList<QStringList> rows = statistics.CsvRows();
    text += QLatin1Char('\n');
    for (const QStringList &row : rows) {
        // The question last, cut to one line: the figures stay aligned.
        QString question = row.at(1).simplified();
        if (question.size() > 60)
            question = question.left(59) + QChar(0x2026);
        text += row.at(0).rightJustified(4) + QLatin1Char(' ') + row.at(2).rightJustified(9) + QLatin1Char(' ') +
                row.at(3).rightJustified(6) + QLatin1Char(' ') + row.at(4).rightJustified(13) + QLatin1Char(' ') +
                row.at(5).rightJustified(15) + QStringLiteral("  ") + question + QLatin1Char('\n');
    }
    return text;
}

QString SafeFileName(const QString &text)
{
    QString name = text.trimmed();
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar &c : name)
        if (forbidden.contains(c) || c < QLatin1Char(' '))
            c = QLatin1Char('_');
    return name;
}
