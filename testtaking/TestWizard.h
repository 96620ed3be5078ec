#pragma once

#include "question/QuestionText.h"
#include "question/Grading.h"
#include "testtaking/ResultStore.h"

#include <QDialog>
#include <QList>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;
class TDbQuery;

// One answer of the testing program's transcript.
struct TQuestion {
    QString Question;
    QString Answer; // starts as the correct answer; grading records the student's answer
    bool Correct = false;
    QWidget *Control = nullptr; // the question control whose answer this is
};

struct TQuestionRecord {
    QString Text;
    TQuestion Record;
};

// The characters of codes 32 and below taken off both ends.
QString TrimBlanks(const QString &text);

// The window in which a test is taken: one question per page, every answer graded
// against the correct answer its control carries. The testing program (AllowPrevious)
// keeps a transcript and writes the result; the authoring program's variant shows a
// running tally, can be cancelled and writes nothing.
class TForm_TestWizard : public QDialog {
    Q_OBJECT

public:
    // query: the main window's statement object, through which the questions are read.
    TForm_TestWizard(TDbQuery *query, bool allowPrevious, QWidget *parent = nullptr);
    ~TForm_TestWizard() override;

    void FormShow();
    void BitBtn_NextClick();
    void BitBtn_PreviousClick();
    void BitBtn_CancelClick();
    void BitBtn_AboutClick();

    bool GradeQuestion(QWidget *control);
    void ShowGrade();
    void FocusQuestion();
    // Inserts or updates the student's result row; false (after the plain message box)
    // when it could not be written.
    bool WriteTestResult(int grade);
    // The transcript as written to the result row (without the closing blank).
    QString Transcript() const;
    // Saves the answers given so far (testing program), as the student leaves a page.
    void SaveProgress();
    // Where the answers saved last went.
    TProgressPlace ProgressPlace() const { return FProgressPlace; }
    // The result of the finished test is in the database / kept on this computer.
    bool ResultStored() const { return FResultStored; }
    bool ResultKept() const { return FResultKept; }
    TResultKey Key() const;

    // The grade of the last ShowGrade.
    long double Grade() const { return FGrade; }
    // Set when the test cannot be taken (no questions, or one that cannot be rebuilt).
    bool TestUnavailable() const { return !FUnavailableReason.isEmpty(); }
    QString UnavailableReason() const { return FUnavailableReason; }
    // The control of the page shown, or nullptr in the finished state.
    QWidget *CurrentControl() const;

    TDbQuery *Query;
    QString ConnectionString; // of the main window, for the result's own connection
    QString TestID;
    QString StudentID;
    QString ClassID;
    bool SaveResult = false;
    // How long the result written at Finish waits for other writers, in milliseconds.
    int ResultWait = ResultWaitTime;
    bool AllowPrevious;
    int PageIndex = 0;
    int CorrectCount = 0;
    int IncorrectCount = 0;
    TControlDefList ControlDefs;
    TQuestionControlList QuestionControls;
    QList<TQuestionRecord> Questions;

    QWidget *Panel = nullptr;
    QFrame *Panel_Number = nullptr;
    QLabel *Label_Number = nullptr;
    QLabel *Image_Happy = nullptr;
    QLabel *Image_Sad = nullptr;
    QLabel *Label_Question = nullptr;
    // The question scrolls in the top strip when it is longer than the page can give it.
    QScrollArea *ScrollBox_Question = nullptr;
    QFrame *Panel_Controls = nullptr;
    // The answer area: it scrolls when a question control is larger than the room left.
    QScrollArea *ScrollBox_Controls = nullptr;
    QWidget *Panel_Bottom = nullptr;
    QLabel *Label_Correct = nullptr;
    QLabel *Label_CorrectCount = nullptr;
    QLabel *Label_Incorrect = nullptr;
    QLabel *Label_IncorrectCount = nullptr;
    QPushButton *BitBtn_Previous = nullptr;
    QPushButton *BitBtn_Next = nullptr;
    QPushButton *BitBtn_Cancel = nullptr;
    QPushButton *BitBtn_About = nullptr;
    QFrame *Panel_Grade = nullptr;
    QLabel *Label_Correct2 = nullptr;
    QLabel *Label_CorrectCount2 = nullptr;
    QLabel *Label_Incorrect2 = nullptr;
    QLabel *Label_IncorrectCount2 = nullptr;
    QLabel *Label_GradeCaption2 = nullptr;
    QLabel *Label_Grade2 = nullptr;
    QLabel *Label_Percent = nullptr;
    QLabel *Label_Status = nullptr; // the status as stored
    QLabel *Label_Stored = nullptr; // whether the result is in the database

    static const QString ContinueQuestion;
    static const QString KeptMessage;
    static const QString StoredText;
    static const QString KeptText;

    static const QString FinishCaption;
    static const QString NextCaption;

public slots:
    // Escape: Cancel where the window has it; the testing program's wizard is left only
    // by Finish.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildTopStrip();
    void BuildBottomStrip();
    void BuildGradeBox();
    void SetNumberLook(bool finished);
    void ShowPage(int index);
    // Shares the window's height between the question and the answer area and places
    // the strips, the buttons and the question controls for the window's size.
    void ArrangePage();
    // Lets a choice control whose items do not fit its designed size grow until each
    // item stands on its own line.
    void FitChoiceControl(QWidget *control);
    void NameAnswerControl(QWidget *control, const QString &question);
    void MarkUnavailable(const QString &reason);
    void CloseWindow(int result);
    TQuestion *QuestionOf(QWidget *control);
    void OfferToContinue();
    void ShowStoredState();

    long double FGrade = 0;
    QString FUnavailableReason;
    bool FShown = false;
    QList<QPair<QWidget *, int>> FDesignedLefts; // the bottom buttons at the starting width
    QPoint FGradeOrigin;
    bool FClosing = false;
    QString FBase; // the result row as it stood when the test began
    TTestProgress FProgress;
    TProgressPlace FProgressPlace = TProgressPlace::Nowhere;
    bool FResultStored = false;
    bool FResultKept = false;
};
