#include "authoring/StudentJoin.h"

#include "database/Database.h"
#include "toolkit/NvComboBox.h"

#include <QPushButton>

using namespace RecordWindow;

namespace {

TMembershipForm::TMemberTable StudentsOfClass()
{
    // The buttons' hints speak of questions; what they do here is said to a screen reader.
    return {
        .FormName = QStringLiteral("Form_StudentJoin"),
        .Caption = QStringLiteral("Add Students to Class"),
        .ParentEditName = QStringLiteral("Edit_ClassDesc"),
        .ParentLabel = QStringLiteral("Class Name:"),
        .ListName = QStringLiteral("NvComboBox_Student"),
        .ListLabel = QStringLiteral("Student:"),
        .GridTitles = {QStringLiteral("Serial"), QStringLiteral("Row"), QStringLiteral("Student Name")},
        .ButtonNames = {QStringLiteral("Find Student"), QStringLiteral("Add Student to Class"),
                        QStringLiteral("Replace Student"), QStringLiteral("Delete Student from Class")},
        .Table = QStringLiteral("classdetail"),
        .ParentColumn = QStringLiteral("CLASSID"),
        .MemberColumn = QStringLiteral("STUDENTID"),
        .TextKey = true,
        .CandidateLines = {QStringLiteral("SELECT LASTNAME, FIRSTNAME, MIDDLE, STUDENTID, ID FROM studentmaster")},
        .CandidateCode = QStringLiteral("STUDENTID"),
        .ListingLines = {QStringLiteral("SELECT SERIAL, STUDENTID, SEQUENCE"), QStringLiteral("FROM classdetail"),
                         QStringLiteral("WHERE CLASSID = %1"), QStringLiteral("ORDER BY SEQUENCE")},
        .SearchLines = {QStringLiteral("SELECT LASTNAME, FIRSTNAME, MIDDLE, STUDENTID"),
                        QStringLiteral("FROM studentmaster"), QStringLiteral("WHERE LASTNAME LIKE")},
        .SearchCaption = QStringLiteral("Find student using last name"),
        .SearchPrompt = QStringLiteral("Enter Last Name:"),
        .NoMatchText = QStringLiteral("No students were found that matched the keywords!"),
        .DuplicateAdd = QStringLiteral("The student \"%1\" already exists in this class. Are you sure you want to add "
                                       "this student to the class again?"),
        .DuplicateUpdate = QString(), // as DuplicateAdd
        .RemovalQuestion = QStringLiteral("Are you sure that you want to delete \"%1?"),
        .NothingToRemove = QStringLiteral("There is no student in this class to delete: its list is empty."),
    };
}

} // namespace

TForm_StudentJoin::TForm_StudentJoin(TDbQuery *query, QWidget *parent)
    : TMembershipForm(query, StudentsOfClass(), parent), Edit_ClassDesc(FParentEdit), NvComboBox_Student(FCandidates)
{
    BitBtn_AddAll = new QPushButton(QStringLiteral("ALL"), this);
    BitBtn_AddAll->setObjectName(QStringLiteral("BitBtn_AddAll"));
    BitBtn_AddAll->setToolTip(QStringLiteral("Add Question to Test"));
    BitBtn_AddAll->setFixedSize(30, 23);
    BitBtn_AddAll->setAutoDefault(false);
    BitBtn_AddAll->setAccessibleName(QStringLiteral("Add All Students to Class"));
    AddFurtherButton(BitBtn_AddAll);
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
