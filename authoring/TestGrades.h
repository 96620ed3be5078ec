#pragma once

#include "authoring/RecordWindow.h"
#include "question/Grading.h"

#include <QSpinBox>

class QLineEdit;
class QPushButton;
class QWidget;
class TDbQuery;
class TMaskEdit;
class TNvComboBox;
class TStringGrid;

// The grade spin box: its arrows keep to 0 … 100, while typing is not cut short, so
// that a grade out of range is refused with a message instead of silently changed.
class TGradeSpinEdit : public QSpinBox {
    Q_OBJECT

public:
    explicit TGradeSpinEdit(QWidget *parent = nullptr);

    static constexpr int MinGrade = Grading::MinGrade;
    static constexpr int MaxGrade = Grading::MaxGrade;

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;
};

// The gradebook: every student of one class with the status and grade of one test, and
// the teacher's setting of one student's grade and status.
class TForm_TestGrades : public TRecordsForm {
    Q_OBJECT

public:
    enum { ColID = 0, ColRow = 1, ColName = 2, ColStatus = 3, ColGrade = 4 };

    // query: the main window's statement object.
    explicit TForm_TestGrades(TDbQuery *query, QWidget *parent = nullptr);

    // Last name, ", ", first name, " ", middle initial (the blank stands even without
    // one), " (", the student ID, ")".
    static QString StudentName(const QString &lastName, const QString &firstName, const QString &middle,
                               const QString &studentID);

    void FormShow() override;
    void StringGridClick() override;
    void StringGridDblClick() override;
    void SpinEdit_GradeChange();
    void BitBtn_UpdateClick();
    // Writes the class's gradebook of the test as a CSV file the teacher names.
    void BitBtn_ExportClick();
    void Edit_TestNameMouseMove(QLineEdit *sender);

    // The class's and the test's ID.
    QString ClassKey;
    QString TestKey;

    TMaskEdit *Edit_TestName = nullptr;
    TMaskEdit *Edit_ClassName = nullptr;
    TMaskEdit *Edit_StudentName = nullptr;
    TGradeSpinEdit *SpinEdit_Grade = nullptr;
    TNvComboBox *NvComboBox_Status = nullptr;
    QPushButton *BitBtn_Update = nullptr;
    QPushButton *BitBtn_Export = nullptr;

protected:
    bool MayClose() override { return MayLeaveRow(); }
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The grade typed, when it is a whole number from 0 to 100.
    bool TypedGrade(int &grade) const;
    // Writes the grade and status shown in the fields as the result of the student of
    // row; false when nothing was stored (the reason has been shown).
    bool StoreRow(int row);
    // Before the fields show another row or the window closes: a grade or status typed
    // and not stored is stored, dropped or kept, as the teacher answers. False to stay.
    bool MayLeaveRow();

    int FShownRow = 0; // the row whose values the fields show
    bool FTyped = false; // grade or status changed there and not stored
    bool FShowing = false; // the fields are being filled from the grid
};
