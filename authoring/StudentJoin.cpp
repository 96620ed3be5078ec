#include "authoring/StudentJoin.h"

#include "database/Database.h"
#include "toolkit/NvComboBox.h"

#include <QPushButton>

using namespace RecordWindow;

TForm_StudentJoin::TForm_StudentJoin(TDbQuery *query, QWidget *parent) : TMembershipForm(query, parent)
{
    setObjectName(QStringLiteral("Form_StudentJoin"));
    setWindowTitle(QStringLiteral("Add Students to Class"));
    CreateTopPanel(QStringLiteral("Edit_ClassDesc"), QStringLiteral("Class Name:"),
                   QStringLiteral("NvComboBox_Student"), QStringLiteral("Student:"));
    Edit_ClassDesc = FParentEdit;
    NvComboBox_Student = FCandidates;
    BitBtn_AddAll = new QPushButton(QStringLiteral("ALL"), this);
    BitBtn_AddAll->setObjectName(QStringLiteral("BitBtn_AddAll"));
    BitBtn_AddAll->setToolTip(QStringLiteral("Add Question to Test"));
    BitBtn_AddAll->setFixedSize(30, 23);
    BitBtn_AddAll->setAutoDefault(false);
    AddFurtherButton(BitBtn_AddAll);
    // The hints speak of questions; what the buttons do here is said to a screen reader.
    BitBtn_Find->setAccessibleName(QStringLiteral("Find Student"));
    BitBtn_Add->setAccessibleName(QStringLiteral("Add Student to Class"));
    BitBtn_Update->setAccessibleName(QStringLiteral("Replace Student"));
    BitBtn_Remove->setAccessibleName(QStringLiteral("Delete Student from Class"));
    BitBtn_AddAll->setAccessibleName(QStringLiteral("Add All Students to Class"));
    SetGridTitles({QStringLiteral("Serial"), QStringLiteral("Row"), QStringLiteral("Student Name")});
    FMembers.Table = QStringLiteral("classdetail");
    FMembers.ParentColumn = QStringLiteral("CLASSID");
    FMembers.MemberColumn = QStringLiteral("STUDENTID");
    FMembers.TextKey = true;
    FMembers.CandidateLines = {QStringLiteral("SELECT LASTNAME, FIRSTNAME, MIDDLE, STUDENTID, ID FROM studentmaster")};
    FMembers.CandidateCode = QStringLiteral("STUDENTID");
    FMembers.ListingLines = {QStringLiteral("SELECT SERIAL, STUDENTID, SEQUENCE"), QStringLiteral("FROM classdetail"),
                             QStringLiteral("WHERE CLASSID = %1"), QStringLiteral("ORDER BY SEQUENCE")};
    FMembers.SearchLines = {QStringLiteral("SELECT LASTNAME, FIRSTNAME, MIDDLE, STUDENTID"),
                            QStringLiteral("FROM studentmaster"), QStringLiteral("WHERE LASTNAME LIKE")};
    FMembers.SearchCaption = QStringLiteral("Find student using last name");
    FMembers.SearchPrompt = QStringLiteral("Enter Last Name:");
    FMembers.NoMatchText = QStringLiteral("No students were found that matched the keywords!");
    FMembers.DuplicateAdd = QStringLiteral("The student \"%1\" already exists in this class. Are you sure you want to "
                                           "add this student to the class again?");
    FMembers.DuplicateUpdate = FMembers.DuplicateAdd;
    FMembers.RemovalQuestion = QStringLiteral("Are you sure that you want to delete \"%1?");
    FMembers.NothingToRemove = QStringLiteral("There is no student in this class to delete: its list is empty.");
    connect(BitBtn_AddAll, &QPushButton::clicked, this, &TForm_StudentJoin::BitBtn_AddAllClick);
}

QString TForm_StudentJoin::DisplayName(const QString &lastName, const QString &firstName, const QString &middle,
                                       const QString &studentID)
{
    QString name = lastName + QStringLiteral(", ") + firstName;
    if (!middle.trimmed().isEmpty())
        name += QLatin1Char(' ') + middle;
    return name + QStringLiteral(" (") + studentID + QLatin1Char(')');
}

QString TForm_StudentJoin::RowText() const
{
    return DisplayName(Query->FieldByName(QStringLiteral("LASTNAME")).AsString(),
                       Query->FieldByName(QStringLiteral("FIRSTNAME")).AsString(),
                       Query->FieldByName(QStringLiteral("MIDDLE")).AsString(),
                       Query->FieldByName(QStringLiteral("STUDENTID")).AsString());
}

void TForm_StudentJoin::BitBtn_AddAllClick()
{
    NvComboBox_Student->setUpdatesEnabled(false);
    for (int i = 0; i < NvComboBox_Student->Count(); ++i) {
        NvComboBox_Student->SetItemIndex(i);
        BitBtn_AddClick(BitBtn_Add);
    }
    NvComboBox_Student->setUpdatesEnabled(true);
}

bool TForm_StudentJoin::MemberText(QString &text) const
{
    // A student deleted since is no longer among the candidates: the member is not shown.
    const int index = NvComboBox_Student->IndexOfCode(Query->FieldByName(QStringLiteral("STUDENTID")).AsString());
    if (index < 0)
        return false;
    text = NvComboBox_Student->Items(index);
    return true;
}
