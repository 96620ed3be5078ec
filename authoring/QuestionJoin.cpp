#include "authoring/QuestionJoin.h"

#include "authoring/Main.h"
#include "database/Database.h"
#include "toolkit/NvComboBox.h"

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
    BitBtn_Preview = SmallButton(this, QStringLiteral("BitBtn_Preview"), QStringLiteral("Preview"),
                                 QStringLiteral("preview"));
    AddFurtherButton(BitBtn_Preview);
    SetGridTitles({QStringLiteral("Serial"), QStringLiteral("Row"), QStringLiteral("Test Name")});
    FNothingToRemove = QStringLiteral("There is no question on this test to delete: its list is empty.");
    connect(BitBtn_Preview, &QPushButton::clicked, this, &TForm_QuestionJoin::BitBtn_PreviewClick);
}

void TForm_QuestionJoin::BitBtn_PreviewClick()
{
    // The main window previews the test it kept from the picking; the button tells it
    // to skip its own test picker.
    if (Corvella::Form_Main)
        Corvella::Form_Main->ToolButton_PrintPreviewClick(BitBtn_Preview);
    else
        Corvella::TForm_Main::NotAvailableYet(QStringLiteral("The test printout"));
}

void TForm_QuestionJoin::LoadCandidates()
{
    Query->Clear();
    Query->Add(QStringLiteral("SELECT QUESTION, ID FROM controldef"));
    Query->Open();
    for (; !Query->Eof(); Query->Next())
        NvComboBox_Question->Add(Query->Fields(0).AsString(), Query->Fields(1).AsString());
    NvComboBox_Question->SetItemIndex(-1);
}

QStringList TForm_QuestionJoin::MemberListingLines(const QString &parentKey) const
{
    return {QStringLiteral("SELECT TESTDETAIL.SERIAL, QUESTION, SEQUENCE FROM testmaster, testdetail, controldef "),
            QStringLiteral("WHERE testmaster.id=") + parentKey, QStringLiteral("AND testid = testmaster.id"),
            QStringLiteral("AND controlid = controldef.id"), QStringLiteral("ORDER BY SEQUENCE")};
}

bool TForm_QuestionJoin::MemberText(QString &text) const
{
    text = Query->FieldByName(QStringLiteral("QUESTION")).AsString();
    return true;
}

QString TForm_QuestionJoin::SelectedMemberKey() const
{
    if (NvComboBox_Question->ItemIndex() < 0)
        return QString();
    const QString key = WholeNumber(NvComboBox_Question->SelectedCode());
    return key.isEmpty() || key.toInt() < 0 ? QString() : key;
}

QStringList TForm_QuestionJoin::InsertLines(const QString &parentKey, const QString &memberKey, int position) const
{
    return {QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE)"),
            QStringLiteral("VALUES(") + parentKey + QStringLiteral(", ") + memberKey + QStringLiteral(", ")
                + QString::number(position) + QStringLiteral(")")};
}

QStringList TForm_QuestionJoin::FindSerialLines(const QString &parentKey, const QString &memberKey) const
{
    return {QStringLiteral("SELECT SERIAL FROM testdetail"), QStringLiteral("WHERE TESTID=") + parentKey,
            QStringLiteral("AND CONTROLID=") + memberKey};
}

QStringList TForm_QuestionJoin::UpdateLines(const QString &parentKey, const QString &memberKey, int row,
                                            const QString &serial) const
{
    return {QStringLiteral("UPDATE testdetail SET"), QStringLiteral("CONTROLID= ") + memberKey + QStringLiteral(", "),
            QStringLiteral("TESTID   = ") + parentKey + QStringLiteral(", "),
            QStringLiteral("SEQUENCE = ") + QString::number(row), QStringLiteral("WHERE SERIAL= ") + serial};
}

QString TForm_QuestionJoin::DeleteLine(const QString &serial) const
{
    return QStringLiteral("DELETE FROM testdetail WHERE SERIAL=") + serial;
}

QString TForm_QuestionJoin::SequenceLine(int row, const QString &serial) const
{
    return QStringLiteral("UPDATE testdetail SET SEQUENCE=") + QString::number(row) + QStringLiteral(" WHERE SERIAL=")
           + serial;
}

QStringList TForm_QuestionJoin::SearchLines(const QString &pattern) const
{
    return {QStringLiteral("SELECT QUESTION FROM controldef WHERE QUESTION LIKE") + QuotedStr(pattern)};
}

QString TForm_QuestionJoin::SearchRowText() const
{
    return Query->FieldByName(QStringLiteral("QUESTION")).AsString();
}

QString TForm_QuestionJoin::DuplicateQuestion(const QString &text, bool updating) const
{
    return QStringLiteral("The question \"") + text
           + QStringLiteral("\" already exists on this test. Are you sure you want to ")
           + (updating ? QStringLiteral("update the current row and create a duplicate question?")
                       : QStringLiteral("add this question to the test again?"));
}

QString TForm_QuestionJoin::RemovalQuestion(const QString &text) const
{
    return QStringLiteral("Are you sure that you want to delete the \"") + text + QStringLiteral("\" question?");
}

QString TForm_QuestionJoin::SearchCaption() const
{
    return QStringLiteral("Find question using keywords");
}

QString TForm_QuestionJoin::SearchPrompt() const
{
    return QStringLiteral("Enter keywords:");
}

QString TForm_QuestionJoin::NoMatchText() const
{
    return QStringLiteral("No questions were found that matched the keywords!");
}
