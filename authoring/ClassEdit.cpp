#include "authoring/ClassEdit.h"

#include "database/Database.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/StringGrid.h"

TForm_ClassEdit::TForm_ClassEdit(TDbQuery *query, QWidget *parent) : TRecordEditForm(query, parent)
{
    setObjectName(QStringLiteral("Form_ClassEdit"));
    setWindowTitle(QStringLiteral("Create Class"));

    Edit_ClassTitle = AddEditField(QStringLiteral("Edit_ClassTitle"), QStringLiteral("Class Name:"), 255);
    Edit_Course = AddEditField(QStringLiteral("Edit_Course"), QStringLiteral("Course:"), 100);
    Edit_Teacher = AddEditField(QStringLiteral("Edit_Teacher"), QStringLiteral("Teacher:"), 100);
    HintFollowsText(Edit_ClassTitle);
    HintFollowsText(Edit_Course);

    SetUpGrid({QStringLiteral("ID"), QStringLiteral("Row"), QStringLiteral("Class Name"), QStringLiteral("Course"),
               QStringLiteral("Teacher")},
              {-1, 30, 254, 77, 129});
    setFixedSize(512, 343);
}

void TForm_ClassEdit::Edit_ClassTitleMouseMove(QLineEdit *sender)
{
    TRecordEditForm::EditMouseMove(sender);
}

QList<TRecordEditForm::TDependentRows> TForm_ClassEdit::DependentRows(const QString &key) const
{
    return {{QStringLiteral("classdetail"), QStringLiteral("CLASSID=") + key, QStringLiteral("student"),
             QStringLiteral("students")},
            {QStringLiteral("classtest"), QStringLiteral("CLASSID=") + key, QStringLiteral("assigned test"),
             QStringLiteral("assigned tests")},
            {QStringLiteral("testresults"), QStringLiteral("CLASSID=") + key, QStringLiteral("result"),
             QStringLiteral("results")}};
}

QString TForm_ClassEdit::DependentsNote() const
{
    return QStringLiteral("The students and the tests themselves stay.");
}

QStringList TForm_ClassEdit::KeyReferences() const
{
    return {QStringLiteral("classdetail.CLASSID"), QStringLiteral("classtest.CLASSID"),
            QStringLiteral("testresults.CLASSID")};
}

QString TForm_ClassEdit::TableName() const
{
    return QStringLiteral("classmaster");
}

QStringList TForm_ClassEdit::ListingLines() const
{
    return {QStringLiteral("SELECT DISTINCT classmaster.* FROM classmaster "), QStringLiteral("ORDER BY NAME")};
}

QStringList TForm_ClassEdit::ListedColumns() const
{
    return {QStringLiteral("ID"), QStringLiteral("NAME"), QStringLiteral("COURSE"), QStringLiteral("TEACHER")};
}

QStringList TForm_ClassEdit::InsertLines(const QString &key) const
{
    return {QStringLiteral("INSERT INTO classmaster (ID, NAME, COURSE, TEACHER)"),
            QStringLiteral("VALUES(") + key + QStringLiteral(", ") + QuotedStr(Edit_ClassTitle->Text())
                + QStringLiteral(",") + QuotedStr(Edit_Course->Text()) + QStringLiteral(",")
                + QuotedStr(Edit_Teacher->Text()) + QStringLiteral(")")};
}

QStringList TForm_ClassEdit::UpdateLines(const QString &key) const
{
    return {QStringLiteral("UPDATE classmaster SET"),
            QStringLiteral("NAME = ") + QuotedStr(Edit_ClassTitle->Text()) + QStringLiteral(", "),
            QStringLiteral("COURSE = ") + QuotedStr(Edit_Course->Text()) + QStringLiteral(", "),
            QStringLiteral("TEACHER  = ") + QuotedStr(Edit_Teacher->Text()), QStringLiteral("WHERE ID = ") + key};
}

QString TForm_ClassEdit::RemovalQuestion() const
{
    return QStringLiteral("Are you sure that you want to delete the \"") + StringGrid->Cells(ColName, StringGrid->Row())
           + QStringLiteral("\" class?");
}

QStringList TForm_ClassEdit::FieldValues() const
{
    return {Edit_ClassTitle->Text(), Edit_Course->Text(), Edit_Teacher->Text()};
}

void TForm_ClassEdit::RowToFields(int row)
{
    Edit_ClassTitle->SetText(StringGrid->Cells(ColName, row));
    Edit_Course->SetText(StringGrid->Cells(ColCourse, row));
    Edit_Teacher->SetText(StringGrid->Cells(ColTeacher, row));
}

void TForm_ClassEdit::ReadResults(int row)
{
    ResultID = StringGrid->Cells(ColID, row);
    ResultName = StringGrid->Cells(ColName, row);
    ResultCourse = StringGrid->Cells(ColCourse, row);
    ResultTeacher = StringGrid->Cells(ColTeacher, row);
}
