#include "authoring/TestGrades.h"

#include "authoring/MembershipEditor.h"
#include "database/Database.h"
#include "dialogs/SaveMsgDlg.h"
#include "question/ResultSheets.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QToolTip>

using namespace RecordWindow;

// ---------------------------------------------------------------- TGradeSpinEdit

TGradeSpinEdit::TGradeSpinEdit(QWidget *parent) : QSpinBox(parent)
{
    setRange(-999999, 999999);
    setValue(0);
}

void TGradeSpinEdit::stepBy(int steps)
{
    setValue(qBound(MinGrade, value() + steps, MaxGrade));
    selectAll();
}

QAbstractSpinBox::StepEnabled TGradeSpinEdit::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (value() < MaxGrade)
        enabled |= StepUpEnabled;
    if (value() > MinGrade)
        enabled |= StepDownEnabled;
    return enabled;
}

// ---------------------------------------------------------------- TForm_TestGrades

TForm_TestGrades::TForm_TestGrades(TDbQuery *query, QWidget *parent) : TRecordsForm(query, parent)
{
    setObjectName(QStringLiteral("Form_TestGrades"));
    setWindowTitle(QStringLiteral("Edit Gradebook"));

    auto fields = TopFields(100, QMargins(8, 4, 8, 4), 2);

    Edit_TestName = ReadOnlyEdit(Panel_Top, QStringLiteral("Edit_TestName"));
    Edit_TestName->SetMaxLength(255);
    Edit_ClassName = ReadOnlyEdit(Panel_Top, QStringLiteral("Edit_ClassName"));
    Edit_ClassName->SetMaxLength(100);
    Edit_StudentName = ReadOnlyEdit(Panel_Top, QStringLiteral("Edit_StudentName"));
    Edit_StudentName->SetMaxLength(255);
    for (QLineEdit *edit : {static_cast<QLineEdit *>(Edit_TestName), static_cast<QLineEdit *>(Edit_ClassName),
                            static_cast<QLineEdit *>(Edit_StudentName)})
        HintFollowsText(edit, [this](QLineEdit *sender) { Edit_TestNameMouseMove(sender); });

    SpinEdit_Grade = new TGradeSpinEdit(Panel_Top);
    SpinEdit_Grade->setObjectName(QStringLiteral("SpinEdit_Grade"));
    SpinEdit_Grade->setFixedWidth(70);
    NvComboBox_Status = new TNvComboBox(Panel_Top);
    NvComboBox_Status->setObjectName(QStringLiteral("NvComboBox_Status"));
    NvComboBox_Status->setEditable(false);
    for (const QString &status : {Grading::Incomplete, Grading::Passed, Grading::Failed})
        NvComboBox_Status->Add(status);
    NvComboBox_Status->SetItemIndex(0);
    NvComboBox_Status->setFixedWidth(120);
    BitBtn_Update = SmallButton(Panel_Top, QStringLiteral("BitBtn_Update"), QStringLiteral("Update Test Header"),
                                QStringLiteral("update"));
    BitBtn_Update->setAccessibleName(QStringLiteral("Update Grade"));

    auto gradeRow = new QWidget(Panel_Top);
    auto gradeLayout = new QHBoxLayout(gradeRow);
    gradeLayout->setContentsMargins(0, 0, 0, 0);
    gradeLayout->setSpacing(6);
    auto statusCaption = new QLabel(QStringLiteral("Status:"), gradeRow);
    statusCaption->setBuddy(NvComboBox_Status);
    gradeLayout->addWidget(SpinEdit_Grade);
    gradeLayout->addSpacing(12);
    gradeLayout->addWidget(statusCaption);
    gradeLayout->addWidget(NvComboBox_Status);
    gradeLayout->addStretch();
    gradeLayout->addWidget(BitBtn_Update);

    const QList<QPair<QString, QWidget *>> rows{{QStringLiteral("Test Name:"), Edit_TestName},
                                                {QStringLiteral("Class Name:"), Edit_ClassName},
                                                {QStringLiteral("Student Name:"), Edit_StudentName},
                                                {QStringLiteral("Grade:"), gradeRow}};
    for (int i = 0; i < rows.size(); ++i) {
        auto caption = new QLabel(rows.at(i).first, Panel_Top);
        caption->setBuddy(rows.at(i).second == gradeRow ? static_cast<QWidget *>(SpinEdit_Grade) : rows.at(i).second);
        fields->addWidget(caption, i, 0);
        fields->addWidget(rows.at(i).second, i, 1);
    }

    StringGrid->SetColCount(5);
    StringGrid->SetFixedCols(2);
    StringGrid->SetColWidths(ColID, -1);
    StringGrid->SetColWidths(ColRow, 30);
    // "INCOMPLETE" stays readable in fonts wider than the one the widths were made for.
    const int statusWidth = qMax(77, StringGrid->fontMetrics().horizontalAdvance(Grading::Incomplete) + 12);
    StringGrid->SetColWidths(ColName, 320 - (statusWidth - 77));
    StringGrid->SetColWidths(ColStatus, statusWidth);
    StringGrid->SetColWidths(ColGrade, 64);

    BitBtn_OK->hide();
    BitBtn_Cancel->hide();
    BitBtn_Export = BottomButton(Panel_Bottom, QStringLiteral("BitBtn_Export"), QStringLiteral("&Export..."));
    BitBtn_Export->setAccessibleName(QStringLiteral("Export the gradebook as CSV"));
    if (auto bottom = qobject_cast<QHBoxLayout *>(Panel_Bottom->layout()))
        bottom->insertWidget(bottom->indexOf(BitBtn_Close), BitBtn_Export);
    setTabOrder(BitBtn_Export, BitBtn_Close);

    // Every change of the text: the status and the mark follow the whole grade typed.
    connect(SpinEdit_Grade, &QSpinBox::textChanged, this, [this] {
        if (!FShowing)
            FTyped = true;
        SpinEdit_GradeChange();
    });
    connect(NvComboBox_Status, &QComboBox::activated, this, [this] { FTyped = true; });
    connect(BitBtn_Update, &QPushButton::clicked, this, &TForm_TestGrades::BitBtn_UpdateClick);
    connect(BitBtn_Export, &QPushButton::clicked, this, &TForm_TestGrades::BitBtn_ExportClick);
}

QString TForm_TestGrades::StudentName(const QString &lastName, const QString &firstName, const QString &middle,
                                      const QString &studentID)
{
    return lastName + QStringLiteral(", ") + firstName + QLatin1Char(' ') + middle + QStringLiteral(" (") + studentID +
           QLatin1Char(')');
}

void TForm_TestGrades::keyPressEvent(QKeyEvent *event)
{
    // Enter stores what was typed, as Update does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        if (FTyped)
            BitBtn_UpdateClick();
        return;
    }
    TRecordsForm::keyPressEvent(event);
}

void TForm_TestGrades::Edit_TestNameMouseMove(QLineEdit *sender)
{
    if (sender->toolTip() == sender->text())
        return;
    sender->setToolTip(sender->text());
    if (!sender->text().isEmpty())
        QToolTip::showText(QCursor::pos(), sender->text(), sender);
}

void TForm_TestGrades::FormShow()
{
    FTyped = false;
    FShownRow = 0;
    StringGrid->ClearRows();
    const QSignalBlocker blocker(StringGrid);
    const QString classKey = WholeNumber(ClassKey);
    const QString testKey = WholeNumber(TestKey);
    try {
        StringGrid->SetTitles({QStringLiteral("ID"), QStringLiteral("Row"), QStringLiteral("Student Name"),
                               QStringLiteral("Status"), QStringLiteral("Grade (%)")});
        RequireQuery(Query);
        // Keys that are not whole numbers never go into a statement: nothing to list.
        if (!classKey.isEmpty() && !testKey.isEmpty()) {
            Query->Clear();
            Query->Add(QStringLiteral("SELECT * FROM classmaster, testmaster, classdetail, studentmaster"));
            Query->Add(QStringLiteral("WHERE classmaster.ID=") + classKey);
            Query->Add(QStringLiteral("AND testmaster.ID=") + testKey);
            Query->Add(QStringLiteral("AND classdetail.CLASSID=classmaster.ID"));
            Query->Add(QStringLiteral("AND studentmaster.STUDENTID=classdetail.STUDENTID"));
            Query->Add(QStringLiteral("ORDER BY LASTNAME, FIRSTNAME, MIDDLE, studentmaster.STUDENTID"));
            Query->Open();
            for (; !Query->Eof(); Query->Next()) {
                const int row = StringGrid->RowCount() - 1;
                const QString studentID = Query->FieldByName(QStringLiteral("studentmaster.STUDENTID")).AsString();
                StringGrid->SetCells(ColID, row, studentID);
                StringGrid->SetCells(ColName, row,
                                     StudentName(Query->FieldByName(QStringLiteral("LASTNAME")).AsString(),
                                                 Query->FieldByName(QStringLiteral("FIRSTNAME")).AsString(),
                                                 Query->FieldByName(QStringLiteral("MIDDLE")).AsString(), studentID));
                StringGrid->AppendRow();
            }
            Query->Close();
            if (StringGrid->RowCount() > 2)
                StringGrid->RemoveRow(StringGrid->RowCount() - 1);
        }
        for (int row = 1; row < StringGrid->RowCount(); ++row) {
            QString grade = QStringLiteral("0");
            QString status = Grading::Incomplete;
            if (!classKey.isEmpty() && !testKey.isEmpty()) {
                Query->Clear();
                Query->Add(QStringLiteral("SELECT * FROM testresults"));
                Query->Add(QStringLiteral("WHERE CLASSID = ") + classKey);
                Query->Add(QStringLiteral("AND STUDENTID = ") + QuotedStr(StringGrid->Cells(ColID, row)));
                Query->Add(QStringLiteral("AND TESTID    = ") + testKey);
                // Of rows doubled by older copies of the program, the latest counts.
                Query->Add(QStringLiteral("ORDER BY SERIAL DESC"));
                Query->Open();
                if (!Query->Eof()) {
                    grade = Query->FieldByName(QStringLiteral("GRADE")).AsString();
                    status = Query->FieldByName(QStringLiteral("STATUS")).AsString();
                }
                Query->Close();
            }
            StringGrid->SetCells(ColGrade, row, grade);
            StringGrid->SetCells(ColStatus, row, status);
        }
    } catch (const Exception &e) {
        if (Query)
            Query->Close();
        ShowMessage(e.Message());
    }
    NumberRows(StringGrid, ColRow);
    StringGrid->SetRow(1);
    StringGridClick();
}

bool TForm_TestGrades::MayLeaveRow()
{
    if (!FTyped || FShownRow < 1 || FShownRow >= StringGrid->RowCount() ||
        StringGrid->Cells(ColID, FShownRow).isEmpty())
        return true;
    const int answer = ConfirmBox(QStringLiteral("The grade and status typed for ") +
                                      StringGrid->Cells(ColName, FShownRow) +
                                      QStringLiteral(" have not been stored. Store them now?"),
                                  BtnYes | BtnNo | BtnCancel);
    if (answer == ResultNo) {
        FTyped = false;
        return true;
    }
    return answer == ResultYes && StoreRow(FShownRow);
}

void TForm_TestGrades::StringGridClick()
{
    const int row = StringGrid->Row();
    if (row != FShownRow && !MayLeaveRow()) {
        // Back to the row the typing belongs to, which stays as typed; once more after
        // the click that chose the other row has ended, for its highlight.
        const int back = FShownRow;
        const QSignalBlocker blocker(StringGrid);
        StringGrid->SetRow(back);
        QTimer::singleShot(0, this, [this, back] {
            const QSignalBlocker later(StringGrid);
            if (StringGrid->Row() == back)
                StringGrid->selectRow(back - 1);
        });
        return;
    }
    FShowing = true;
    Edit_StudentName->SetText(StringGrid->Cells(ColName, row));
    const QString grade = WholeNumber(StringGrid->Cells(ColGrade, row));
    SpinEdit_Grade->setValue(grade.isEmpty() ? 0 : grade.toInt());
    // The proposal was made above even when the value stayed the same; the stored status wins.
    SpinEdit_GradeChange();
    NvComboBox_Status->SelectItem(StringGrid->Cells(ColStatus, row));
    FShowing = false;
    FShownRow = row;
    FTyped = false;
}

bool TForm_TestGrades::TypedGrade(int &grade) const
{
    bool ok = false;
    grade = SpinEdit_Grade->cleanText().trimmed().toInt(&ok);
    return ok && grade >= TGradeSpinEdit::MinGrade && grade <= TGradeSpinEdit::MaxGrade;
}

void TForm_TestGrades::SpinEdit_GradeChange()
{
    int grade = 0;
    const bool valid = TypedGrade(grade);
    // A grade that cannot be stored is marked at once, and proposes no status.
    QLineEdit *edit = SpinEdit_Grade->findChild<QLineEdit *>();
    QPalette palette = SpinEdit_Grade->palette();
    if (!valid)
        palette.setColor(QPalette::Text, Qt::red);
    edit->setPalette(palette);
    SpinEdit_Grade->setToolTip(valid ? QString() : QStringLiteral("The grade must be a whole number from 0 to 100."));
    if (!valid) {
        NvComboBox_Status->SetItemIndex(-1);
        return;
    }
    const QString status = Grading::ProposedStatus(grade);
    if (!status.isEmpty())
        NvComboBox_Status->SelectItem(status);
}

void TForm_TestGrades::BitBtn_UpdateClick()
{
    StoreRow(StringGrid->Row());
}

bool TForm_TestGrades::StoreRow(int row)
{
    const QString studentKey = StringGrid->Cells(ColID, row);
    if (studentKey.isEmpty())
        return false;
    int grade = 0;
    if (!TypedGrade(grade)) {
        ShowMessage(QStringLiteral("The grade must be a whole number from 0 to 100. Nothing was stored."));
        return false;
    }
    const QString status = NvComboBox_Status->ItemIndex() < 0 ? QString() : NvComboBox_Status->Text();
    const QString classKey = WholeNumber(ClassKey);
    const QString testKey = WholeNumber(TestKey);
    try {
        RequireQuery(Query);
        if (!Query->Connection())
            throw EDatabaseError(QStringLiteral("The statement has no connection."));
        // The look-up and the write are one step: a student finishing meanwhile gets no second row.
        TDbTransaction transaction(*Query->Connection());
        Query->Clear();
        Query->Add(QStringLiteral("SELECT COUNT(*) FROM testresults"));
        Query->Add(QStringLiteral("WHERE CLASSID=") + classKey);
        Query->Add(QStringLiteral("AND TESTID=") + testKey);
        Query->Add(QStringLiteral("AND STUDENTID=") + QuotedStr(studentKey));
        Query->Open();
        const int count = Query->Fields(0).AsInteger();
        Query->Close();
        Query->Clear();
        if (count > 0) {
            Query->Add(QStringLiteral("UPDATE testresults SET"));
            Query->Add(QStringLiteral("GRADE=") + QString::number(grade) + QStringLiteral(", "));
            Query->Add(QStringLiteral("STATUS=") + QuotedStr(status));
            Query->Add(QStringLiteral("WHERE CLASSID=") + classKey);
            Query->Add(QStringLiteral("AND TESTID=") + testKey);
            Query->Add(QStringLiteral("AND STUDENTID=") + QuotedStr(studentKey));
        } else {
            Query->Add(QStringLiteral("INSERT INTO testresults (STUDENTID,TESTID,CLASSID,GRADE,STATUS) VALUES("));
            Query->Add(QuotedStr(studentKey) + QStringLiteral(", "));
            Query->Add(testKey + QStringLiteral(", "));
            Query->Add(classKey + QStringLiteral(", "));
            Query->Add(QString::number(grade) + QStringLiteral(", "));
            Query->Add(QuotedStr(status) + QStringLiteral(")"));
        }
        Query->ExecSQL();
        transaction.Commit();
    } catch (const Exception &e) {
        if (Query)
            Query->Close();
        ShowMessage(e.Message());
        return false;
    }
    FTyped = false;
    // A student who stands twice in the class has one result: every row of his shows it.
    for (int r = 1; r < StringGrid->RowCount(); ++r)
        if (StringGrid->Cells(ColID, r).compare(studentKey, Qt::CaseInsensitive) == 0) {
            StringGrid->SetCells(ColGrade, r, QString::number(grade));
            StringGrid->SetCells(ColStatus, r, status);
        }
    return true;
}

void TForm_TestGrades::BitBtn_ExportClick()
{
    const QString classKey = WholeNumber(ClassKey);
    const QString testKey = WholeNumber(TestKey);
    // A grade typed and not stored goes into the file only once stored.
    if (classKey.isEmpty() || testKey.isEmpty() || !MayLeaveRow())
        return;
    QList<TGradeRow> rows;
    try {
        RequireQuery(Query);
        QList<TGradePair> pairs = ReadGradePairs(*Query, {classKey}, {testKey});
        if (pairs.isEmpty())
            pairs.append({classKey, Edit_ClassName->Text(), testKey, Edit_TestName->Text(), QString()});
        rows = ReadGradeRows(*Query, pairs.first());
    } catch (const Exception &e) {
        if (Query)
            Query->Close();
        ShowMessage(e.Message());
        return;
    }
    const QString path = SaveFileDialog(
        this, QStringLiteral("Export Gradebook"),
        SafeFileName(Edit_ClassName->Text() + QStringLiteral(" - ") + Edit_TestName->Text()) + QStringLiteral(".csv"),
        QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!WriteCsvFile(path, GradeCsvRows(rows), &error)) {
        SaveMsgDialog(error, MsgError, BtnOK);
        return;
    }
    SaveMsgDialog(QStringLiteral("The grades of %1 students were exported to %2.").arg(rows.size()).arg(path),
                  MsgInformation, BtnOK);
}

void TForm_TestGrades::StringGridDblClick()
{
    BitBtn_CloseClick();
}
