#include "authoring/QuestionJoin.h"

#include "database/Database.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/NvComboBox.h"

#include <QMetaMethod>
#include <QPushButton>

using namespace RecordWindow;

TForm_QuestionJoin::TForm_QuestionJoin(TDbQuery *query, QWidget *parent) : TMembershipForm(query, parent)
{
    setObjectName(QStringLiteral("Form_QuestionJoin"));
    setWindowTitle(QStringLiteral("Add Questions"));
    CreateTopPanel(QStringLiteral("Edit_TestTitle"), QStringLiteral("Test Name:"),
                   QStringLiteral("NvComboBox_Question"), QStringLiteral("Question:"));
    Edit_TestTitle = FParentEdit;
    NvComboBox_Question = FCandidates;
    BitBtn_Preview =
        SmallButton(this, QStringLiteral("BitBtn_Preview"), QStringLiteral("Preview"), QStringLiteral("preview"));
    AddFurtherButton(BitBtn_Preview);
    BitBtn_Find->setAccessibleName(QStringLiteral("Find Question"));
    BitBtn_Update->setAccessibleName(QStringLiteral("Replace Question"));
    BitBtn_Preview->setAccessibleName(QStringLiteral("Preview Question"));
    SetGridTitles({QStringLiteral("Serial"), QStringLiteral("Row"), QStringLiteral("Test Name")});
    FMembers.Table = QStringLiteral("testdetail");
    FMembers.ParentColumn = QStringLiteral("TESTID");
    FMembers.MemberColumn = QStringLiteral("CONTROLID");
    FMembers.CandidateLines = {QStringLiteral("SELECT QUESTION, ID FROM controldef")};
    FMembers.CandidateCode = QStringLiteral("ID");
    FMembers.ListingLines = {
        QStringLiteral("SELECT TESTDETAIL.SERIAL, QUESTION, SEQUENCE FROM testmaster, testdetail, controldef "),
        QStringLiteral("WHERE testmaster.id=%1"), QStringLiteral("AND testid = testmaster.id"),
        QStringLiteral("AND controlid = controldef.id"), QStringLiteral("ORDER BY SEQUENCE")};
    FMembers.SearchLines = {QStringLiteral("SELECT QUESTION FROM controldef WHERE QUESTION LIKE")};
    FMembers.SearchCaption = QStringLiteral("Find question using keywords");
    FMembers.SearchPrompt = QStringLiteral("Enter keywords:");
    FMembers.NoMatchText = QStringLiteral("No questions were found that matched the keywords!");
    FMembers.DuplicateAdd = QStringLiteral("The question \"%1\" already exists on this test. Are you sure you want to "
                                           "add this question to the test again?");
    FMembers.DuplicateUpdate = QStringLiteral("The question \"%1\" already exists on this test. Are you sure you "
                                              "want to update the current row and create a duplicate question?");
    FMembers.RemovalQuestion = QStringLiteral("Are you sure that you want to delete the \"%1\" question?");
    FMembers.NothingToRemove = QStringLiteral("There is no question on this test to delete: its list is empty.");
    connect(BitBtn_Preview, &QPushButton::clicked, this, &TForm_QuestionJoin::BitBtn_PreviewClick);
}

void TForm_QuestionJoin::BitBtn_PreviewClick()
{
    // The window that opened this one previews the test it kept from the picking,
    // without a test picker of its own.
    if (isSignalConnected(QMetaMethod::fromSignal(&TForm_QuestionJoin::PreviewRequested)))
        emit PreviewRequested();
    else
        SaveMsgDialog(QStringLiteral("The test printout is not available yet."), MsgInformation, BtnOK);
}

QString TForm_QuestionJoin::RowText() const
{
    return Query->FieldByName(QStringLiteral("QUESTION")).AsString();
}
