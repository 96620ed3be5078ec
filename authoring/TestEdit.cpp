#include "authoring/TestEdit.h"

#include "authoring/RecordWindow.h"
#include "database/Database.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace RecordWindow;

// ---------------------------------------------------------------- TForm_TestEdit

TForm_TestEdit::TForm_TestEdit(TDbQuery *query, QWidget *parent) : TRecordEditForm(query, parent)
{
    setObjectName(QStringLiteral("Form_TestEdit"));
    setWindowTitle(QStringLiteral("Create Test Header"));

    Edit_TestTitle = AddEditField(QStringLiteral("Edit_TestTitle"), QStringLiteral("Test Title:"), 255);
    Edit_SubTitle = AddEditField(QStringLiteral("Edit_SubTitle"), QStringLiteral("Subtitle:"), 255);
    Edit_Instructions = AddEditField(QStringLiteral("Edit_Instructions"), QStringLiteral("Instructions:"), 255);
    SpinEdit_Columns = new QSpinBox(Panel_Top);
    SpinEdit_Columns->setObjectName(QStringLiteral("SpinEdit_Columns"));
    SpinEdit_Columns->setRange(1, 3);
    SpinEdit_Columns->setValue(2);
    SpinEdit_Columns->setFixedWidth(50);
    auto columnsLabel = new QLabel(QStringLiteral("Columns:"), Panel_Top);
    columnsLabel->setObjectName(QStringLiteral("Label_Columns"));
    columnsLabel->setBuddy(SpinEdit_Columns);
    const int row = FieldLayout->rowCount();
    FieldLayout->addWidget(columnsLabel, row, 0);
    FieldLayout->addWidget(SpinEdit_Columns, row, 1, Qt::AlignLeft);
    for (QLineEdit *edit : {static_cast<QLineEdit *>(Edit_TestTitle), static_cast<QLineEdit *>(Edit_SubTitle),
                            static_cast<QLineEdit *>(Edit_Instructions)})
        HintFollowsText(edit, [this](QLineEdit *sender) { Edit_TestTitleMouseMove(sender); });

    Panel_Key = new QWidget(this);
    Panel_Key->setObjectName(QStringLiteral("Panel_Key"));
    Panel_Key->setFixedHeight(19);
    CheckBox_Key = new QCheckBox(QStringLiteral("Print Key"), Panel_Key);
    CheckBox_Key->setObjectName(QStringLiteral("CheckBox_Key"));
    auto keyLayout = new QHBoxLayout(Panel_Key);
    keyLayout->setContentsMargins(8, 0, 8, 0);
    keyLayout->addWidget(CheckBox_Key);
    keyLayout->addStretch();
    Panel_Key->hide();
    FormLayout->insertWidget(1, Panel_Key);

    FFields = {Edit_TestTitle, Edit_SubTitle, Edit_Instructions, SpinEdit_Columns};
    FRecords.Table = QStringLiteral("testmaster");
    FRecords.Noun = QStringLiteral("test");
    FRecords.Columns = {QStringLiteral("ID"), QStringLiteral("NAME"), QStringLiteral("SUBTITLE"),
                        QStringLiteral("INSTRUCTIONS"), QStringLiteral("COLUMNS")};
    FRecords.RemovalQuestion = QStringLiteral("Are you sure that you want to delete the \"%1\" test?");
    // The questions stay in the question bank; their places on the test go with it.
    FRecords.Dependents = {{QStringLiteral("testdetail"), QStringLiteral("TESTID=%1"), QStringLiteral("question"),
                            QStringLiteral("questions")},
                           {QStringLiteral("classtest"), QStringLiteral("TESTID=%1"),
                            QStringLiteral("class assignment"), QStringLiteral("class assignments")},
                           {QStringLiteral("testresults"), QStringLiteral("TESTID=%1"), QStringLiteral("result"),
                            QStringLiteral("results")}};
    FRecords.DependentsNote = QStringLiteral("The questions stay in the question bank, and the classes stay.");
    FRecords.KeyReferences = {QStringLiteral("testdetail.TESTID"), QStringLiteral("classtest.TESTID"),
                              QStringLiteral("testresults.TESTID")};
    SetUpGrid({QStringLiteral("ID"), QStringLiteral("Row"), QStringLiteral("Test Name"), QStringLiteral("Subtitle"),
               QStringLiteral("Instructions"), QStringLiteral("Columns")},
              {-1, 30, 222, 67, 341, 49});
    setFixedSize(512, 343);
}

void TForm_TestEdit::Edit_TestTitleMouseMove(QLineEdit *sender)
{
    TextHintFollows(sender);
}

bool TForm_TestEdit::MayStore(bool)
{
    // What is stored is what the box shows.
    CommitSpinText(SpinEdit_Columns);
    return true;
}

QStringList TForm_TestEdit::ListingLines() const
{
    if (WithQuestionsOnly)
        return {QStringLiteral("SELECT DISTINCT testmaster.* FROM testmaster , testdetail"),
                QStringLiteral("WHERE testid = id"), QStringLiteral("ORDER BY NAME")};
    return {QStringLiteral("SELECT DISTINCT testmaster.* FROM testmaster "), QStringLiteral("ORDER BY NAME")};
}

QStringList TForm_TestEdit::InsertLines(const QString &key) const
{
    return {QStringLiteral("INSERT INTO testmaster (ID, NAME, INSTRUCTIONS, SUBTITLE, COLUMNS)"),
            QStringLiteral("VALUES(") + key + QStringLiteral(", ") + QuotedStr(Edit_TestTitle->Text()) +
                QStringLiteral(",") + QuotedStr(Edit_Instructions->Text()) + QStringLiteral(", ") +
                QuotedStr(Edit_SubTitle->Text()) + QStringLiteral(", ") + QString::number(SpinEdit_Columns->value()) +
                QStringLiteral(")")};
}

QStringList TForm_TestEdit::UpdateLines(const QString &key) const
{
    return {QStringLiteral("UPDATE testmaster SET"),
            QStringLiteral("NAME = ") + QuotedStr(Edit_TestTitle->Text()) + QStringLiteral(", "),
            QStringLiteral("INSTRUCTIONS = ") + QuotedStr(Edit_Instructions->Text()) + QStringLiteral(", "),
            QStringLiteral("SUBTITLE = ") + QuotedStr(Edit_SubTitle->Text()) + QStringLiteral(", "),
            QStringLiteral("COLUMNS = ") + QString::number(SpinEdit_Columns->value()),
            QStringLiteral("WHERE ID = ") + key};
}

int TForm_TestEdit::ColumnsOf(const QString &cell)
{
    bool ok = false;
    const int columns = cell.trimmed().toInt(&ok);
    // The printout knows one to three page columns.
    return ok ? qBound(1, columns, 3) : 2;
}

void TForm_TestEdit::RowToFields(int row)
{
    TRecordEditForm::RowToFields(row);
    SpinEdit_Columns->setValue(ColumnsOf(StringGrid->Cells(ColColumns, row)));
}

void TForm_TestEdit::ReadResults(int row)
{
    ResultID = StringGrid->Cells(ColID, row);
    ResultName = StringGrid->Cells(ColName, row);
    ResultInstructions = StringGrid->Cells(ColInstructions, row);
    ResultSubtitle = StringGrid->Cells(ColSubtitle, row);
    ResultColumns = ColumnsOf(StringGrid->Cells(ColColumns, row));
    PrintKey = CheckBox_Key->isChecked();
}
