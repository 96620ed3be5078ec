#pragma once

#include "printing/TestReport.h"
#include "question/QuestionText.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QWidget;
class TDbQuery;

namespace Corvella {

// One class a test is assigned to, with the chapter of that assignment.
struct TPrintClass {
    QString ID;
    QString Name;
    QString Course;
    QString Teacher;
    QString Chapter;
};

// The classes a test is assigned to, in the order returned. testID must be a whole
// number (it goes into the statement). Raises EDatabaseError when the statement fails.
QList<TPrintClass> ReadPrintClasses(TDbQuery &query, const QString &testID);

// Asks which test to print, with the given caption: fills the job's test values and
// the answer-key choice; false when cancelled.
using TTestPicker = std::function<bool(const QString &caption, TPrintJob &job)>;
// Asks which of several classes to print for; none when cancelled.
using TClassPicker = std::function<std::optional<TPrintClass>(const QList<TPrintClass> &classes)>;

// Fills the job's class name, course, teacher and chapter from the class the test is
// assigned to: taken directly when there is one, picked when there are several, empty
// when there is none or the pick was cancelled. A failing statement is shown in the
// error box and leaves them empty.
void ChooseClassForPrint(TDbQuery &query, const QString &testID, TPrintJob &job, const TClassPicker &pick);

// Loads the test's questions in their order, rebuilds them owned by owner on parent and
// makes their printable records. Errors reach the caller; one met while a question is
// rebuilt names that question: its number in the test and its ID.
void LoadPrintQuestions(TDbQuery &query, const QString &testID, TControlDefList &defs, TQuestionControlList &controls,
                        TReportList &records, QObject *owner, QWidget *parent);

// Who started a printout.
enum class TPrintSender {
    None, // the preview's Print button: the test of the preview still open, printed
    PrintButton, // Print...: asks for the test, prints
    PreviewButton, // Print Preview...: asks for the test, previews
    QuestionJoin // the questions-in-test window: the current test, previewed
};

// Printing and previewing tests: the main window's print command with the lists it
// keeps while a printout is under way. The main window sets the fields once and calls
// Execute from its print and preview commands.
class TTestPrintout {
public:
    TTestPrintout() = default;
    TTestPrintout(const TTestPrintout &) = delete;
    TTestPrintout &operator=(const TTestPrintout &) = delete;
    ~TTestPrintout();

    TDbQuery *Query = nullptr;
    // Owner of the window that previews or prints, and of the rebuilt questions.
    QPointer<QWidget> Owner;
    // The hidden panel on which the questions are rebuilt.
    QPointer<QWidget> Panel_Controls;
    TTestPicker PickTest;
    TClassPicker PickClass;

    // The current print job: the test values as the last test selection (or Add
    // Questions...) left them, and the answer-key choice of the last printout.
    TPrintJob Job;

    // The three printing lists, filled while a printout is under way.
    TControlDefList ControlDefs;
    TQuestionControlList QuestionControls;
    TReportList ReportObjs;

    // Runs the print or preview command. Errors while loading the questions reach the
    // caller (the main window's event handler shows them).
    void Execute(TPrintSender sender);
    // Whether a printout is under way (a preview is open).
    bool Busy() const { return FDepth > 0; }

    // Frees the lists and the rebuilt questions.
    void Clear();

    static QString Caption(TPrintSender sender);

private:
    bool ChooseTestForPrint(TPrintSender sender);
    void LoadQuestions();
    int FDepth = 0;
};

} // namespace Corvella
