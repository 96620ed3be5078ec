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
    HintFollowsText(Edit_ClassTitle, [this](QLineEdit *sender) { Edit_ClassTitleMouseMove(sender); });
    HintFollowsText(Edit_Course, [this](QLineEdit *sender) { Edit_ClassTitleMouseMove(sender); });

    FFields = {Edit_ClassTitle, Edit_Course, Edit_Teacher};
    FRecords.Table = QStringLiteral("classmaster");
    FRecords.Noun = QStringLiteral("class");
    FRecords.Listing = {QStringLiteral("SELECT DISTINCT classmaster.* FROM classmaster "),
                        QStringLiteral("ORDER BY NAME")};
    FRecords.Columns = {QStringLiteral("ID"), QStringLiteral("NAME"), QStringLiteral("COURSE"),
                        QStringLiteral("TEACHER")};
    FRecords.UpdateParts = {QStringLiteral("NAME = "), QStringLiteral("COURSE = "), QStringLiteral("TEACHER  = "),
                            QStringLiteral("WHERE ID = ")};
    FRecords.Results = {
        {&ResultID, ColID}, {&ResultName, ColName}, {&ResultCourse, ColCourse}, {&ResultTeacher, ColTeacher}};
    FRecords.RemovalQuestion = QStringLiteral("Are you sure that you want to delete the \"%1\" class?");
    FRecords.Dependents = {{QStringLiteral("classdetail"), QStringLiteral("CLASSID=%1"), QStringLiteral("student"),
                            QStringLiteral("students")},
                           {QStringLiteral("classtest"), QStringLiteral("CLASSID=%1"), QStringLiteral("assigned test"),
                            QStringLiteral("assigned tests")},
                           {QStringLiteral("testresults"), QStringLiteral("CLASSID=%1"), QStringLiteral("result"),
                            QStringLiteral("results")}};
    FRecords.DependentsNote = QStringLiteral("The students and the tests themselves stay.");
    FRecords.KeyReferences = {QStringLiteral("classdetail.CLASSID"), QStringLiteral("classtest.CLASSID"),
                              QStringLiteral("testresults.CLASSID")};
    SetUpGrid({QStringLiteral("ID"), QStringLiteral("Row"), QStringLiteral("Class Name"), QStringLiteral("Course"),
               QStringLiteral("Teacher")},
              {-1, 30, 254, 77, 129});
    setFixedSize(512, 343);
}

void TForm_ClassEdit::Edit_ClassTitleMouseMove(QLineEdit *sender)
{
    RecordWindow::TextHintFollows(sender);
}
