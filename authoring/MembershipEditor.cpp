#include "authoring/MembershipEditor.h"

#include "authoring/SelectQuestion.h"
#include "database/Database.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/Convert.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

using namespace RecordWindow;

TMembershipForm::TMembershipForm(TDbQuery *query, const TMemberTable &members, QWidget *parent)
    : TParentRecordsForm(query, parent), FMembers(members)
{
    if (FMembers.DuplicateUpdate.isEmpty())
        FMembers.DuplicateUpdate = FMembers.DuplicateAdd;
    setObjectName(FMembers.FormName);
    setWindowTitle(FMembers.Caption);

    FButtonBox = ButtonRow(Panel_Top);
    BitBtn_Find =
        RowButton(FButtonBox, QStringLiteral("BitBtn_Find"), QStringLiteral("Keyword Search"), QStringLiteral("find"));
    EditButtons(FButtonBox,
                {QStringLiteral("Add Question to Test"), QStringLiteral("Update Question"),
                 QStringLiteral("Delete Question from Test")},
                BitBtn_Add, BitBtn_Update, BitBtn_Remove);
    const QList<QPushButton *> own{BitBtn_Find, BitBtn_Add, BitBtn_Update, BitBtn_Remove};
    for (int i = 0; i < own.size() && i < FMembers.ButtonNames.size(); ++i)
        if (!FMembers.ButtonNames[i].isEmpty())
            own[i]->setAccessibleName(FMembers.ButtonNames[i]);
    CreateTopPanel();

    StringGrid->SetColCount(3);
    StringGrid->SetFixedCols(2);
    StringGrid->SetColWidths(ColSerial, -1);
    StringGrid->SetColWidths(ColRow, 30);
    StringGrid->SetColWidths(ColText, 462);
    StringGrid->SetRowMoving(true);

    connect(StringGrid, &TStringGrid::RowMoved, this, &TMembershipForm::StringGridRowMoved);
    connect(BitBtn_Find, &QPushButton::clicked, this, &TMembershipForm::BitBtn_FindClick);
    connect(BitBtn_Add, &QPushButton::clicked, this, [this] { BitBtn_AddClick(BitBtn_Add); });
    connect(BitBtn_Update, &QPushButton::clicked, this, [this] { BitBtn_AddClick(BitBtn_Update); });
    connect(BitBtn_Remove, &QPushButton::clicked, this, &TMembershipForm::BitBtn_RemoveClick);
}

void TMembershipForm::CreateTopPanel()
{
    auto fields = TopFields(67, QMargins(8, 8, 8, 8), 6);

    FParentEdit = ReadOnlyEdit(Panel_Top, FMembers.ParentEditName);
    FCandidates = new TNvComboBox(Panel_Top);
    FCandidates->setObjectName(FMembers.ListName);
    FCandidates->setEditable(false);
    FCandidates->SetSorted(true);
    KeepComboNarrow(FCandidates);
    // A candidate the teacher picks stays picked when a row is clicked, until it is used.
    connect(FCandidates, &QComboBox::activated, this, [this] { FPicked = true; });

    auto parentCaption = new QLabel(FMembers.ParentLabel, Panel_Top);
    parentCaption->setBuddy(FParentEdit);
    auto listCaption = new QLabel(FMembers.ListLabel, Panel_Top);
    listCaption->setBuddy(FCandidates);
    fields->addWidget(parentCaption, 0, 0);
    fields->addWidget(FParentEdit, 0, 1);
    fields->addWidget(FButtonBox, 0, 2, Qt::AlignRight | Qt::AlignVCenter);
    fields->addWidget(listCaption, 1, 0);
    fields->addWidget(FCandidates, 1, 1, 1, 2);
}

void TMembershipForm::AddFurtherButton(QPushButton *button)
{
    button->setParent(FButtonBox);
    FButtonBox->layout()->addWidget(button);
}

QString TMembershipForm::KeywordPattern(const QString &keywords)
{
    return keywords.isEmpty() ? QString() : TForm_SelectQuestion::KeywordPattern(keywords);
}

QString TMembershipForm::SelectedMemberKey() const
{
    if (FCandidates->ItemIndex() < 0)
        return QString();
    if (FMembers.TextKey)
        return FCandidates->SelectedCode();
    // A numeric key must be a whole number of 0 or more to go into a statement.
    const QString key = WholeNumber(FCandidates->SelectedCode());
    return key.isEmpty() || key.toInt() < 0 ? QString() : key;
}

QString TMembershipForm::MemberValue(const QString &memberKey) const
{
    return FMembers.TextKey ? QuotedStr(memberKey) : memberKey;
}

QString TMembershipForm::Serial(int row) const
{
    return WholeNumber(StringGrid->Cells(ColSerial, row));
}

void TMembershipForm::LoadCandidates()
{
    Query->Clear();
    for (const QString &line : std::as_const(FMembers.CandidateLines))
        Query->Add(line);
    Query->Open();
    QStringList texts;
    QStringList codes;
    // Added in one step, also those read before a failure: thousands of questions put
    // one by one into the sorted list take long.
    try {
        for (; !Query->Eof(); Query->Next()) {
            texts << RowText();
            codes << Query->FieldByName(FMembers.CandidateCode).AsString();
        }
    } catch (const Exception &) {
        FCandidates->AddItems(texts, codes);
        throw;
    }
    FCandidates->AddItems(texts, codes);
    FCandidates->SetItemIndex(-1);
}

bool TMembershipForm::MemberText(QString &text) const
{
    text = RowText();
    return true;
}

void TMembershipForm::FormShow()
{
    FPicked = false;
    FClickAttached = false;
    if (FParentEdit)
        FParentEdit->SetText(ParentName);
    StringGrid->ClearRows();
    StringGrid->SetTitles(FMembers.GridTitles);
    FCandidates->Clear();

    // Without the candidates the members are not listed.
    const bool candidatesRead = LoadUnguarded([this] { LoadCandidates(); });
    const QString parentKey = WholeNumber(ParentKey);
    QStringList listing = FMembers.ListingLines;
    for (QString &line : listing)
        if (line.contains(QLatin1String("%1")))
            line = line.arg(parentKey);
    if (candidatesRead && !parentKey.isEmpty())
        ListRows(
            listing,
            [this](QStringList &cells) {
                QString text;
                if (!MemberText(text))
                    return false;
                cells = {Query->Fields(0).AsString(), QString(), text};
                return true;
            },
            true);
    NumberRows(StringGrid, ColRow);
    StringGrid->SetRow(1);
    FClickAttached = true;
    StringGridClick();
}

void TMembershipForm::StringGridClick()
{
    if (!FClickAttached || FPicked)
        return;
    // SelectItem leaves nothing selected when the text is not among the candidates.
    FCandidates->SelectItem(StringGrid->Cells(ColText, StringGrid->Row()));
}

void TMembershipForm::StringGridRowMoved(int, int)
{
    NumberRows(StringGrid, ColRow);
    UpdateSequences();
}

bool TMembershipForm::ConfirmDuplicate(bool updating, int row)
{
    if (FCandidates->ItemIndex() < 0)
        return true;
    const QString text = FCandidates->Text();
    if (updating && StringGrid->Cells(ColText, row).compare(text, Qt::CaseInsensitive) == 0)
        return false;
    bool found = false;
    for (int r = 1; r < StringGrid->RowCount() && !found; ++r)
        found = StringGrid->Cells(ColText, r).compare(text, Qt::CaseInsensitive) == 0;
    if (!found)
        return true;
    return ConfirmBox((updating ? FMembers.DuplicateUpdate : FMembers.DuplicateAdd).arg(text), BtnYes | BtnNo) ==
           ResultYes;
}

int TMembershipForm::FindSerial(const QString &parentKey, const QString &memberKey)
{
    try {
        RequireQuery(Query);
        Query->Clear();
        Query->Add(QStringLiteral("SELECT SERIAL FROM ") + FMembers.Table);
        Query->Add(QStringLiteral("WHERE ") + FMembers.ParentColumn + QLatin1Char('=') + parentKey);
        Query->Add(QStringLiteral("AND ") + FMembers.MemberColumn + QLatin1Char('=') + MemberValue(memberKey));
        Query->Open();
        int serial = -1;
        for (; !Query->Eof(); Query->Next())
            serial = qMax(serial, Query->Fields(0).AsInteger());
        Query->Close();
        return serial;
    } catch (const Exception &e) {
        if (Query)
            Query->Close();
        SaveMsgDialog(e.Message(), MsgError, BtnOK);
        return -1;
    }
}

int TMembershipForm::InsertMember()
{
    // Where the new row is shown: in the placeholder, or after the last row.
    const int position = StringGrid->IsPlaceholder() ? 1 : StringGrid->RowCount();
    const QString memberKey = SelectedMemberKey();
    if (memberKey.isEmpty())
        return -1;
    const QString parentKey = WholeNumber(ParentKey);
    if (!Execute({QStringLiteral("INSERT INTO %1 (%2, %3, SEQUENCE)")
                      .arg(FMembers.Table, FMembers.ParentColumn, FMembers.MemberColumn),
                  QStringLiteral("VALUES(") + parentKey + QStringLiteral(", ") + MemberValue(memberKey) +
                      QStringLiteral(", ") + QString::number(position) + QStringLiteral(")")}))
        return -1;
    return FindSerial(parentKey, memberKey);
}

bool TMembershipForm::UpdateMember()
{
    const QString memberKey = SelectedMemberKey();
    if (memberKey.isEmpty())
        return false;
    const int row = StringGrid->Row();
    const QString serial = Serial(row);
    // The placeholder row holds no stored member: showing one there would look stored.
    if (serial.isEmpty())
        return false;
    // The parent column is padded so that the equals signs stand one above the other.
    return Execute({QStringLiteral("UPDATE ") + FMembers.Table + QStringLiteral(" SET"),
                    FMembers.MemberColumn + QStringLiteral("= ") + MemberValue(memberKey) + QStringLiteral(", "),
                    FMembers.ParentColumn + QStringLiteral("   = ") + WholeNumber(ParentKey) + QStringLiteral(", "),
                    QStringLiteral("SEQUENCE = ") + QString::number(row), QStringLiteral("WHERE SERIAL= ") + serial});
}

bool TMembershipForm::DeleteMember()
{
    const QString serial = Serial(StringGrid->Row());
    if (serial.isEmpty())
        return false;
    return Execute({QStringLiteral("DELETE FROM ") + FMembers.Table + QStringLiteral(" WHERE SERIAL=") + serial});
}

void TMembershipForm::UpdateSequences()
{
    if (!Query)
        return;
    for (int row = 1; row < StringGrid->RowCount(); ++row) {
        const QString serial = Serial(row);
        if (serial.isEmpty())
            continue;
        try {
            Query->Clear();
            Query->Add(QStringLiteral("UPDATE ") + FMembers.Table + QStringLiteral(" SET SEQUENCE=") +
                       QString::number(row) + QStringLiteral(" WHERE SERIAL=") + serial);
            Query->ExecSQL();
        } catch (const Exception &e) {
            ShowErrorBox(QStringLiteral("UpdateSequences\n") + e.Message());
        }
    }
}

void TMembershipForm::BitBtn_AddClick(QAbstractButton *sender)
{
    const bool adding = sender == BitBtn_Add;
    if (!adding && FCandidates->ItemIndex() >= 0 && Serial(StringGrid->Row()).isEmpty()) {
        ShowMessage(QStringLiteral("This row is not stored yet. Use Add to store it."));
        return;
    }
    FClickAttached = false;
    QString serial;
    if (adding) {
        if (ConfirmDuplicate(false, StringGrid->Row())) {
            const int newSerial = InsertMember();
            if (newSerial >= 0) {
                if (StringGrid->IsPlaceholder())
                    StringGrid->SetRow(1);
                else
                    StringGrid->AppendRow();
                serial = QString::number(newSerial);
            }
        }
    } else if (ConfirmDuplicate(true, StringGrid->Row()) && UpdateMember()) {
        serial = Serial(StringGrid->Row());
    }
    if (!serial.isEmpty()) {
        const int row = StringGrid->Row();
        StringGrid->SetCells(ColSerial, row, serial);
        StringGrid->SetCells(ColText, row, FCandidates->Text());
        FPicked = false;
    }
    FClickAttached = true;
    StringGridClick();
    NumberRows(StringGrid, ColRow);
    // The stored order is the order shown at every moment, also for the window's preview.
    if (!serial.isEmpty() && adding)
        UpdateSequences();
}

void TMembershipForm::BitBtn_RemoveClick()
{
    const int row = StringGrid->Row();
    if (Serial(row).isEmpty()) {
        ShowMessage(FMembers.NothingToRemove);
        return;
    }
    if (ConfirmBox(FMembers.RemovalQuestion.arg(StringGrid->Cells(ColText, row)), BtnYes | BtnNo) == ResultYes &&
        DeleteMember()) {
        FClickAttached = false;
        StringGrid->RemoveRow(row);
        FClickAttached = true;
        NumberRows(StringGrid, ColRow);
        UpdateSequences();
    }
    NumberRows(StringGrid, ColRow);
    StringGridClick();
}

void TMembershipForm::BitBtn_FindClick()
{
    QString keywords;
    if (!InputQuery(FMembers.SearchCaption, FMembers.SearchPrompt, keywords))
        return;

    QStringList found;
    try {
        RequireQuery(Query);
        Query->Clear();
        QStringList lines = FMembers.SearchLines;
        lines.last() += QuotedStr(KeywordPattern(keywords));
        for (const QString &line : std::as_const(lines))
            Query->Add(line);
        Query->Open();
        for (; !Query->Eof(); Query->Next())
            found << RowText();
        Query->Close();
    } catch (const Exception &e) {
        found.clear();
        const QString statement = Query ? Query->Text() : QString();
        if (Query)
            Query->Close();
        ShowErrorBox(e.Message() + QLatin1Char('\n') + statement);
    }
    if (found.isEmpty()) {
        ShowMessage(FMembers.NoMatchText);
        return;
    }

    QString chosen;
    {
        TForm_SelectQuestion results(Query, this);
        results.LoadQuestions = false;
        // The results window searches only the question bank; here it is a plain list.
        results.BitBtn_Find->hide();
        for (const QString &text : std::as_const(found))
            results.AddText(text);
        results.exec();
        chosen = results.CurrentText();
    }
    if (!chosen.isEmpty()) {
        FCandidates->SelectItem(chosen);
        FPicked = FCandidates->ItemIndex() >= 0;
    }
}

void TMembershipForm::FormClose()
{
    NumberRows(StringGrid, ColRow);
    UpdateSequences();
}
