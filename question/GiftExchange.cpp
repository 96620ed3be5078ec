#include "question/GiftExchange.h"

#include "database/Database.h"
#include "question/PropertyModel.h"
#include "question/QuestionBank.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "toolkit/Component.h"
#include "toolkit/Exception.h"

#include <QFile>
#include <QWidget>

namespace {

const TClassInfo *QuestionClass(const QString &className)
{
    for (const TClassInfo *info : {QAMaskEditClassInfo(), QAComboboxClassInfo(), QARadioGroupClassInfo(),
                                   QAListboxClassInfo(), QARichEditClassInfo(), QADateTimeClassInfo()})
        if (info->ClassName == className)
            return info;
    return nullptr;
}

void Exec(TDbQuery &query, const QString &statement)
{
    query.Clear();
    query.Add(statement);
    query.ExecSQL();
}

// The question text as a line of the import's report.
QString Shortened(const QString &text)
{
    QString line = text.simplified();
    if (line.size() > 60)
        line = line.left(57) + QStringLiteral("...");
    return QLatin1Char('"') + line + QLatin1Char('"');
}

QString ResolveTest(TDbQuery &query, const TGiftImportTarget &target, TGiftImportResult &result)
{
    if (!target.TestID.isEmpty() || target.TestName.isEmpty())
        return target.TestID;
    const QStringList ids = TestIDsNamed(query, target.TestName);
    if (!ids.isEmpty())
        return ids.first();
    query.Clear();
    query.Add(QStringLiteral("SELECT MAX(ID) FROM testmaster"));
    query.Open();
    const QString id = QString::number((query.Eof() ? 0 : query.Fields(0).AsInteger()) + 1);
    query.Close();
    query.Clear();
    query.Add(QStringLiteral("INSERT INTO testmaster (ID, NAME, INSTRUCTIONS, SUBTITLE, COLUMNS)"));
    query.Add(QStringLiteral("VALUES(") + id + QStringLiteral(", ") + QuotedStr(target.TestName) +
              QStringLiteral(", '', '', 2)"));
    query.ExecSQL();
    result.TestCreated = true;
    return id;
}

} // namespace

QString TGiftImportResult::Summary() const
{
    return QStringLiteral("%1 question%2 imported, %3 skipped.")
        .arg(Imported)
        .arg(Imported == 1 ? QString() : QStringLiteral("s"))
        .arg(Skipped);
}

bool ReadGiftFile(const QString &path, QList<TGiftQuestion> &questions, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QString text;
    QString reason;
    if (!DecodeGiftText(file.readAll(), text, &reason)) {
        if (error)
            *error = QStringLiteral("Cannot import %1: %2").arg(path, reason);
        return false;
    }
    questions = ReadGift(text);
    if (questions.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1 holds no question.").arg(path);
        return false;
    }
    return true;
}

QWidget *CreateImportedQuestion(const TGiftQuestion &q, QObject *owner, QWidget *parent)
{
    const TClassInfo *info = QuestionClass(q.ClassName);
    if (!q.SkipReason.isEmpty() || !info)
        return nullptr;
    QWidget *control = info->Create(owner, parent);
    ResetNewQuestion(control);
    if (auto *base = dynamic_cast<TControl *>(control))
        base->SetBounds((NewQuestionArea.width() - control->width()) / 2,
                        (NewQuestionArea.height() - control->height() - 20) / 2, control->width(), control->height());
    dynamic_cast<TQuestionControl *>(control)->SetQuestion(q.Question);
    const QString first = q.Correct.value(0);
    if (auto *edit = qobject_cast<TQAMaskEdit *>(control)) {
        edit->SetCorrectAnswer(first);
    } else if (auto *combo = qobject_cast<TQACombobox *>(control)) {
        combo->SetAnswers(q.Answers);
        combo->SetCorrectAnswer(first);
    } else if (auto *radio = qobject_cast<TQARadioGroup *>(control)) {
        radio->SetAnswers(q.Answers);
        radio->SetCorrectAnswer(first);
    } else if (auto *list = qobject_cast<TQAListbox *>(control)) {
        list->SetMultiSelect(q.MultiSelect);
        list->SetAnswers(q.Answers);
        list->SetCorrectAnswers(q.Correct);
    } else if (auto *memo = qobject_cast<TQARichEdit *>(control)) {
        memo->SetCorrectAnswer(first);
    } else if (auto *date = qobject_cast<TQADateTime *>(control)) {
        date->SetCorrectAnswer(first);
    }
    return control;
}

bool ImportGiftQuestions(TDbQuery &query, const QList<TGiftQuestion> &questions, const TGiftImportTarget &target,
                         TGiftImportResult &result, QString *error)
{
    TGiftImportResult done;
    try {
        // The write lock first, so that the next free IDs stay free until the end.
        Exec(query, QStringLiteral("BEGIN IMMEDIATE"));
        try {
            const QString testID = ResolveTest(query, target, done);
            done.TestID = testID;
            for (const TGiftQuestion &q : questions) {
                const QString where = QStringLiteral("line %1: ").arg(q.Line);
                QWidget window;
                QWidget *control = CreateImportedQuestion(q, &window, &window);
                if (!control) {
                    ++done.Skipped;
                    done.Lines << where + QStringLiteral("skipped: ") +
                                      (q.SkipReason.isEmpty() ? QStringLiteral("no kind") : q.SkipReason);
                    continue;
                }
                const QString id = QString::number(NextQuestionNumber(query));
                dynamic_cast<TQuestionControl *>(control)->SetID(id.toInt());
                const QString name = QuestionComponentName(q.ClassName, id);
                SetComponentName(control, name);
                InsertQuestionRow(query, id, name, q.Question, StoredControlText(control));
                if (!testID.isEmpty() && !TestHasQuestion(query, testID, id))
                    InsertTestQuestion(query, testID, id, NextTestSequence(query, testID));
                ++done.Imported;
                QString line = where + name + QLatin1Char(' ') + Shortened(q.Question);
                if (!q.Notes.isEmpty())
                    line += QStringLiteral(" (") + q.Notes.join(QStringLiteral("; ")) + QLatin1Char(')');
                done.Lines << line;
            }
            Exec(query, QStringLiteral("COMMIT"));
        } catch (...) {
            query.Close();
            try {
                Exec(query, QStringLiteral("ROLLBACK"));
            } catch (const Exception &) {
                // The engine rolls back by itself when it cannot go on.
            }
            throw;
        }
    } catch (const Exception &e) {
        if (error)
            *error = e.Message();
        return false;
    }
    result = done;
    return true;
}

QStringList TestIDsNamed(TDbQuery &query, const QString &name)
{
    QStringList ids;
    query.Clear();
    query.Add(QStringLiteral("SELECT ID FROM testmaster WHERE NAME = ") + QuotedStr(name));
    query.Add(QStringLiteral("ORDER BY ID"));
    query.Open();
    while (!query.Eof()) {
        ids << query.Fields(0).AsString();
        query.Next();
    }
    query.Close();
    return ids;
}

bool ExportTestAsGift(TDbQuery &query, const QString &testID, QString &gift, QStringList *notes, QString *error,
                      int *count)
{
    TControlDefList defs;
    try {
        LoadTestQuestions(query, defs, testID);
    } catch (const Exception &e) {
        query.Close();
        if (error)
            *error = e.Message();
        return false;
    }
    QList<TGiftQuestion> questions;
    for (const TControlDefEntry &entry : std::as_const(defs)) {
        // Each in a window of its own, so that equal names in the test do not clash.
        QWidget window;
        QString reason;
        try {
            QStringList lines = SplitLines(entry.Def.Control);
            lines.insert(0, ObjectLineClassName(lines.value(0)));
            if (QWidget *control = TextToQuestionControl(lines, &window, &window)) {
                const QString name = entry.Def.Name.isEmpty()
                                         ? QuestionComponentName(ComponentClassName(control), entry.Text)
                                         : entry.Def.Name;
                const TGiftQuestion q = GiftQuestionOf(control, name);
                bool marked = q.Answers.isEmpty();
                for (const QString &correct : q.Correct)
                    marked = marked || q.Answers.contains(correct);
                if (!marked && notes)
                    *notes << QStringLiteral(
                                  "Question %1: no correct answer is one of its choices, so the file marks none.")
                                  .arg(entry.Text);
                questions << q;
                continue;
            }
            reason = QStringLiteral("it is of no question kind");
        } catch (const Exception &e) {
            reason = e.Message();
        }
        if (notes)
            *notes << QStringLiteral("Question %1 left out: %2").arg(entry.Text, reason);
    }
    gift = WriteGift(questions);
    if (count)
        *count = static_cast<int>(questions.size());
    return true;
}
