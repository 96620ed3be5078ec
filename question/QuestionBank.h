#pragma once

// Storing a question in the question bank exactly as the authoring program's Save does:
// its name, its object text, the next free ID and its place at the end of a test.
// Shared by Save and by the import of question files. Database failures raise
// EDatabaseError; the caller reports them.

#include <QString>

class QObject;
class QWidget;
class TDbQuery;

// The name a save gives a question: its class name without the leading T, "_", the ID.
QString QuestionComponentName(const QString &className, const QString &id);

// The object text as stored in controldef.CONTROL: every line ended by CR LF.
QString StoredControlText(QObject *control);

// What the authoring program resets right after it creates a question of a kind.
void ResetNewQuestion(QWidget *control);

// The largest question ID + 1 (1 in an empty bank).
int NextQuestionNumber(TDbQuery &query);

// Adds the question row: ID unquoted, the texts quoted.
void InsertQuestionRow(TDbQuery &query, const QString &id, const QString &name, const QString &question,
                       const QString &control);

// The largest SEQUENCE of the test + 1 (1 for a test without questions).
int NextTestSequence(TDbQuery &query, const QString &testID);

bool TestHasQuestion(TDbQuery &query, const QString &testID, const QString &questionID);

// Puts the question into the test at position sequence.
void InsertTestQuestion(TDbQuery &query, const QString &testID, const QString &questionID, int sequence);
