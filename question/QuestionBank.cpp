#include "question/QuestionBank.h"

#include "database/Database.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"

#include <QWidget>

QString QuestionComponentName(const QString &className, const QString &id)
{
    return className.mid(1) + QStringLiteral("_") + id;
}

QString StoredControlText(QObject *control)
{
    const QStringList lines = SplitLines(ComponentToText(control));
    return lines.isEmpty() ? QString() : lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void ResetNewQuestion(QWidget *control)
{
    if (auto *radio = qobject_cast<TQARadioGroup *>(control))
        radio->SetCaption(QString());
    else if (auto *combo = qobject_cast<TQACombobox *>(control))
        combo->SetStyle(csDropDownList);
    else if (auto *list = qobject_cast<TQAListbox *>(control))
        list->SetExtendedSelect(false);
    else if (auto *edit = qobject_cast<TQAMaskEdit *>(control))
        edit->SetText(QString());
    else if (auto *memo = qobject_cast<TQARichEdit *>(control))
        memo->SetText(QString());
}

int NextQuestionNumber(TDbQuery &query)
{
    query.Clear();
    query.Add(QStringLiteral("SELECT MAX(ID) FROM controldef"));
    query.Open();
    const int highest = query.Eof() ? 0 : query.Fields(0).AsInteger();
    query.Close();
    return NextKey(highest, QStringLiteral("controldef.ID"));
}

void InsertQuestionRow(TDbQuery &query, const QString &id, const QString &name, const QString &question,
                       const QString &control)
{
    query.Clear();
    query.Add(QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES("));
    query.Add(id + QStringLiteral(",") + QuotedStr(name) + QStringLiteral(", ") + QuotedStr(question) +
              QStringLiteral(", ") + QuotedStr(control) + QStringLiteral(")"));
    query.ExecSQL();
}

int NextTestSequence(TDbQuery &query, const QString &testID)
{
    query.Clear();
    query.Add(QStringLiteral("SELECT MAX(SEQUENCE) FROM testdetail WHERE TESTID=") + testID);
    query.Open();
    const int highest = query.Eof() ? 0 : query.Fields(0).AsInteger();
    query.Close();
    return NextKey(highest, QStringLiteral("testdetail.SEQUENCE"));
}

bool TestHasQuestion(TDbQuery &query, const QString &testID, const QString &questionID)
{
    query.Clear();
    query.Add(QStringLiteral("SELECT COUNT(*) FROM testdetail"));
    query.Add(QStringLiteral("WHERE TESTID=") + testID);
    query.Add(QStringLiteral("AND CONTROLID=") + questionID);
    query.Open();
    const int count = query.Eof() ? 0 : query.Fields(0).AsInteger();
    query.Close();
    return count > 0;
}

void InsertTestQuestion(TDbQuery &query, const QString &testID, const QString &questionID, int sequence)
{
    query.Clear();
    query.Add(QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE)"));
    query.Add(QStringLiteral("VALUES(") + testID + QStringLiteral(", ") + questionID + QStringLiteral(", ") +
              QString::number(sequence) + QStringLiteral(")"));
    query.ExecSQL();
}
