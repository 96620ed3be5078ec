#include "authoring/StudentEdit.h"

#include "authoring/RecordWindow.h"
#include "authoring/StudentJoin.h"
#include "database/Database.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QGridLayout>
#include <QPushButton>

TForm_StudentEdit::TForm_StudentEdit(TDbQuery *query, QWidget *parent) : TRecordEditForm(query, parent)
{
    setObjectName(QStringLiteral("Form_StudentEdit"));
    setWindowTitle(QStringLiteral("Edit Students"));

    Edit_LastName = AddEditField(QStringLiteral("Edit_LastName"), QStringLiteral("Last Name:"), 50);
    Edit_FirstName = AddEditField(QStringLiteral("Edit_FirstName"), QStringLiteral("First Name:"), 50);
    Edit_Middle = AddEditField(QStringLiteral("Edit_Middle"), QStringLiteral("MI:"), 1);
    Edit_StudentID = AddEditField(QStringLiteral("Edit_StudentID"), QStringLiteral("Student ID:"), 10);
    Edit_LastName->SetCharCase(ecUpperCase);
    Edit_FirstName->SetCharCase(ecUpperCase);
    Edit_Middle->SetCharCase(ecUpperCase);
    Edit_Middle->setFixedWidth(30);
    FieldLayout->setAlignment(Edit_Middle, Qt::AlignLeft);
    for (TMaskEdit *edit : {Edit_LastName, Edit_FirstName, Edit_Middle, Edit_StudentID})
        HintFollowsText(edit, [this](QLineEdit *sender) { Edit_LastNameMouseMove(sender); });

    BitBtn_ResetPassword = new QPushButton(QStringLiteral("Reset &Password"), Panel_Top);
    BitBtn_ResetPassword->setObjectName(QStringLiteral("BitBtn_ResetPassword"));
    BitBtn_ResetPassword->setToolTip(QStringLiteral("Let the student choose a new password at the next login"));
    BitBtn_ResetPassword->setAutoDefault(false);
    FieldLayout->addWidget(BitBtn_ResetPassword, 3, 2, Qt::AlignRight | Qt::AlignBottom);
    connect(BitBtn_ResetPassword, &QPushButton::clicked, this, &TForm_StudentEdit::BitBtn_ResetPasswordClick);

    FFields = {Edit_LastName, Edit_FirstName, Edit_Middle, Edit_StudentID};
    FRecords.Table = QStringLiteral("studentmaster");
    FRecords.Noun = QStringLiteral("student");
    FRecords.Listing = {QStringLiteral("SELECT DISTINCT studentmaster.* FROM studentmaster "),
                        QStringLiteral("ORDER BY LASTNAME, FIRSTNAME, MIDDLE, STUDENTID")};
    FRecords.Columns = {QStringLiteral("ID"), QStringLiteral("LASTNAME"), QStringLiteral("FIRSTNAME"),
                        QStringLiteral("MIDDLE"), QStringLiteral("STUDENTID")};
    FRecords.UpdateParts = {QStringLiteral("LASTNAME =  "), QStringLiteral("FIRSTNAME = "),
                            QStringLiteral("MIDDLE =    "), QStringLiteral("STUDENTID = "),
                            QStringLiteral("WHERE ID =  ")};
    FRecords.Results = {{&ResultLastName, ColLastName},
                        {&ResultFirstName, ColFirstName},
                        {&ResultMiddle, ColMiddle},
                        {&ResultStudentID, ColStudentID}};
    FRecords.RemovalQuestion = QStringLiteral("Are you sure that you want to delete the selected student (%1)?");
    FRecords.ChosenColumn = ColStudentID;
    FRecords.DependentsNote = QStringLiteral("The classes stay.");
    SetUpGrid({QStringLiteral("ID"), QStringLiteral("Row"), QStringLiteral("Last Name"), QStringLiteral("First Name"),
               QStringLiteral("Middle"), QStringLiteral("SID")},
              {-1, 30, 171, 140, 48, 100});
    setFixedSize(512, 343);
}

void TForm_StudentEdit::Edit_LastNameMouseMove(QLineEdit *sender)
{
    RecordWindow::TextHintFollows(sender);
}

QList<TRecordEditForm::TDependentRows> TForm_StudentEdit::DependentRows(const QString &key) const
{
    // Rows name a student by his student ID; in a file from before, another student may
    // still share it, and then they stay his.
    const QString sid = QuotedStr(StringGrid->Cells(ColStudentID, StringGrid->Row()));
    const QString where = QStringLiteral("STUDENTID=") + sid +
                          QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM studentmaster WHERE STUDENTID=") + sid +
                          QStringLiteral(" AND ID<>") + key + QLatin1Char(')');
    return {{QStringLiteral("classdetail"), where, QStringLiteral("class place"), QStringLiteral("class places")},
            {QStringLiteral("testresults"), where, QStringLiteral("result"), QStringLiteral("results")}};
}

QString TForm_StudentEdit::StoreConflict(bool adding)
{
    // The student ID is the login name and names the student in classes and results:
    // one student each, whatever the letter case.
    const QString sid = Edit_StudentID->Text();
    if (sid.trimmed().isEmpty())
        return QString();
    const QString key = adding ? QString() : RowKey(StringGrid->Row());
    Query->Clear();
    Query->Add(QStringLiteral("SELECT LASTNAME, FIRSTNAME, MIDDLE, STUDENTID FROM studentmaster"));
    Query->Add(QStringLiteral("WHERE STUDENTID = ") + QuotedStr(sid));
    if (!key.isEmpty())
        Query->Add(QStringLiteral("AND ID <> ") + key);
    Query->Open();
    QString holder;
    if (!Query->Eof())
        holder = TForm_StudentJoin::DisplayName(Query->FieldByName(QStringLiteral("LASTNAME")).AsString(),
                                                Query->FieldByName(QStringLiteral("FIRSTNAME")).AsString(),
                                                Query->FieldByName(QStringLiteral("MIDDLE")).AsString(),
                                                Query->FieldByName(QStringLiteral("STUDENTID")).AsString());
    Query->Close();
    if (holder.isEmpty())
        return QString();
    return QStringLiteral("The student ID \"%1\" is already used by %2. Every student needs a student ID of "
                          "his own, whatever its letter case; nothing was stored.")
        .arg(sid, holder);
}

void TForm_StudentEdit::BitBtn_ResetPasswordClick()
{
    const int row = StringGrid->Row();
    if (RowKey(row).isEmpty()) {
        ShowMessage(QStringLiteral("This row is not a stored student."));
        return;
    }
    const QString student = StringGrid->Cells(ColLastName, row) + QStringLiteral(", ") +
                            StringGrid->Cells(ColFirstName, row) + QStringLiteral(" (") +
                            StringGrid->Cells(ColStudentID, row) + QStringLiteral(")");
    if (ConfirmBox(QStringLiteral("Are you sure that you want to reset the password of ") + student +
                       QStringLiteral("? The student will choose a new password at the next login."),
                   BtnYes | BtnNo) != ResultYes)
        return;
    if (ResetPassword())
        ShowMessage(QStringLiteral("The password of ") + student + QStringLiteral(" has been reset."));
}

bool TForm_StudentEdit::ResetPassword()
{
    const QString key = RowKey(StringGrid->Row());
    if (key.isEmpty())
        return false;
    return Execute({QStringLiteral("UPDATE studentmaster SET PWORD = NULL"), QStringLiteral("WHERE ID = ") + key});
}
