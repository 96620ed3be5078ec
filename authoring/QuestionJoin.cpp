#include "authoring/QuestionJoin.h"

#include "database/Database.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/NvComboBox.h"

#include <QMetaMethod>
#include <QPushButton>

using namespace RecordWindow;

namespace {

TMembershipForm::TMemberTable QuestionsOfTest()
{
    return {
        .FormName = QStringLiteral("Form_QuestionJoin"),
        .Caption = QStringLiteral("Add Questions"),
        .ParentEditName = QStringLiteral("Edit_TestTitle"),
        .ParentLabel = QStringLiteral("Test Name:"),
        .ListName = QStringLiteral("NvComboBox_Question"),
        .ListLabel = QStringLiteral("Question:"),
        .GridTitles = {QStringLiteral("Serial"), QStringLiteral("Row"), QStringLiteral("Test Name")},
        .ButtonNames = {QStringLiteral("Find Question"), QString(), QStringLiteral("Replace Question")},
        .Table = QStringLiteral("testdetail"),
        .ParentColumn = QStringLiteral("TESTID"),
        .MemberColumn = QStringLiteral("CONTROLID"),
        .CandidateLines = {QStringLiteral("SELECT QUESTION, ID FROM controldef")},
        .CandidateCode = QStringLiteral("ID"),
        .ListingLines = {QStringLiteral("SELECT TESTDETAIL.SERIAL, QUESTION, SEQUENCE FROM testmaster, testdetail, "
                                        "controldef "),
                         QStringLiteral("WHERE testmaster.id=%1"), QStringLiteral("AND testid = testmaster.id"),
                         QStringLiteral("AND controlid = controldef.id"), QStringLiteral("ORDER BY SEQUENCE")},
        .SearchLines = {QStringLiteral("SELECT QUESTION FROM controldef WHERE QUESTION LIKE")},
        .SearchCaption = QStringLiteral("Find question using keywords"),
        .SearchPrompt = QStringLiteral("Enter keywords:"),
        .NoMatchText = QStringLiteral("No questions were found that matched the keywords!"),
        .DuplicateAdd = QStringLiteral("The question \"%1\" already exists on this test. Are you sure you want to add "
                                       "this question to the test again?"),
        .DuplicateUpdate = QStringLiteral("The question \"%1\" already exists on this test. Are you sure you want to "
                                          "update the current row and create a duplicate question?"),
        .RemovalQuestion = QStringLiteral("Are you sure that you want to delete the \"%1\" question?"),
        .NothingToRemove = QStringLiteral("There is no question on this test to delete: its list is empty."),
    };
}

} // namespace

TForm_QuestionJoin::TForm_QuestionJoin(TDbQuery *query, QWidget *parent)
    : TMembershipForm(query, QuestionsOfTest(), parent), Edit_TestTitle(FParentEdit), NvComboBox_Question(FCandidates)
{
    BitBtn_Preview =
        SmallButton(this, QStringLiteral("BitBtn_Preview"), QStringLiteral("Preview"), QStringLiteral("preview"));
    BitBtn_Preview->setAccessibleName(QStringLiteral("Preview Question"));
    AddFurtherButton(BitBtn_Preview);
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
