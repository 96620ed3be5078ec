#pragma once

// Moving questions between the question bank and GIFT files: the import stores every
// question it can represent as the authoring program's Save stores it, all in one
// transaction; the export writes a test's questions in test order.

#include "question/Gift.h"

#include <QSize>

class TDbQuery;
class QWidget;

// Where imported questions go besides the bank: the test with TestID, or the test
// named TestName (made when there is none), or no test when both are empty.
struct TGiftImportTarget {
    QString TestID;
    QString TestName;
};

struct TGiftImportResult {
    QStringList Lines; // one per question: what it became, or skipped with its line and why
    int Imported = 0;
    int Skipped = 0;
    QString TestID; // the test the questions went into; empty for none
    bool TestCreated = false;
    QString Summary() const; // "3 questions imported, 1 skipped."
};

// A new question is centred in the design area of the authoring program's main window
// at its starting size, as creating one there places it.
inline constexpr QSize NewQuestionArea(409, 413);

// The file's questions; false with the reason when it cannot be read, is not UTF-8
// text or holds no question.
bool ReadGiftFile(const QString &path, QList<TGiftQuestion> &questions, QString *error);

// The question control a teacher would make of q in the authoring program: a new
// control of its kind, reset and placed as created there, with text, choices and
// correct answers filled in. nullptr for a skipped question.
QWidget *CreateImportedQuestion(const TGiftQuestion &q, QObject *owner, QWidget *parent);

// Stores the questions that are not skipped in file order. Nothing is stored when it
// fails: false with the engine's text.
bool ImportGiftQuestions(TDbQuery &query, const QList<TGiftQuestion> &questions, const TGiftImportTarget &target,
                         TGiftImportResult &result, QString *error);

// The IDs of the tests with that name (letter case ignored), lowest first.
QStringList TestIDsNamed(TDbQuery &query, const QString &name);

// The test's questions as GIFT, in test order. A stored question that cannot be
// rebuilt is left out and named in notes. False with the engine's text on failure.
bool ExportTestAsGift(TDbQuery &query, const QString &testID, QString &gift, QStringList *notes, QString *error,
                      int *count = nullptr);
