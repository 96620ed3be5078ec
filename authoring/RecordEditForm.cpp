#include "authoring/RecordEditForm.h"

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

TRecordEditForm::TRecordEditForm(TDbQuery *query, QWidget *parent) : TRecordsForm(query, parent)
{
    FieldLayout = FieldGrid(Panel_Top, QMargins(8, 6, 8, 4), 3);

    FButtonBox = ButtonRow(Panel_Top);
    EditButtons(
        FButtonBox,
        {QStringLiteral("Add Test Header"), QStringLiteral("Update Test Header"), QStringLiteral("Delete Test Header")},
        BitBtn_Add, BitBtn_Update, BitBtn_Remove);
    FieldLayout->addWidget(FButtonBox, 0, 2, Qt::AlignRight | Qt::AlignTop);

    StringGrid->SetColCount(2);
    SetPicking(false);

    connect(BitBtn_Add, &QPushButton::clicked, this, [this] { BitBtn_AddClick(BitBtn_Add); });
    connect(BitBtn_Update, &QPushButton::clicked, this, [this] { BitBtn_AddClick(BitBtn_Update); });
    connect(BitBtn_Remove, &QPushButton::clicked, this, &TRecordEditForm::BitBtn_RemoveClick);
}

void TRecordEditForm::SetPicking(bool picking)
{
    FPicking = picking;
    Panel_Top->setVisible(!picking);
    BitBtn_OK->setVisible(picking);
    BitBtn_Cancel->setVisible(picking);
    BitBtn_Close->setVisible(!picking);
    BitBtn_OK->setDefault(picking);
}

void TRecordEditForm::SetUpGrid(const QStringList &titles, const QList<int> &widths)
{
    StringGrid->SetColCount(titles.size());
    StringGrid->SetFixedCols(2);
    StringGrid->SetTitles(titles);
    for (int col = 0; col < titles.size(); ++col)
        StringGrid->SetColWidths(col, col == 0 ? -1 : widths.value(col, 64));
}

TMaskEdit *TRecordEditForm::AddEditField(const QString &name, const QString &label, int maxLength)
{
    const int row = FieldLayout->rowCount() == 1 && !FieldLayout->itemAtPosition(0, 0) ? 0 : FieldLayout->rowCount();
    auto edit = new TMaskEdit(Panel_Top);
    edit->setObjectName(name);
    edit->SetMaxLength(maxLength);
    auto caption = new QLabel(label, Panel_Top);
    caption->setObjectName(QStringLiteral("Label_") + name.section(QLatin1Char('_'), 1));
    caption->setBuddy(edit);
    FieldLayout->addWidget(caption, row, 0);
    FieldLayout->addWidget(edit, row, 1);
    return edit;
}

void TRecordEditForm::FormShow()
{
    FClickAttached = false;
    StringGrid->ClearRows();
    QList<QStringList> rows;
    QString failure;
    try {
        RequireQuery(Query);
        Query->Clear();
        for (const QString &line : ListingLines())
            Query->Add(line);
        Query->Open();
        const QStringList columns = FRecords.Columns;
        for (; !Query->Eof(); Query->Next()) {
            QStringList cells;
            for (int i = 0; i < columns.size(); ++i) {
                if (i == 1)
                    cells << QString(); // the "Row" column
                cells << Query->FieldByName(columns.at(i)).AsString();
            }
            rows << cells;
        }
        Query->Close();
    } catch (const Exception &e) {
        if (Query)
            Query->Close();
        failure = e.Message();
    }
    // The listing is not guarded: its failure is shown like any unhandled error, and
    // the window opens with the rows read until then.
    if (!failure.isEmpty())
        ShowErrorBox(failure);
    for (int i = 0; i < rows.size(); ++i) {
        const int row = i == 0 ? 1 : StringGrid->AppendRow();
        StringGrid->SetRowCells(row, rows.at(i));
    }
    NumberRows(StringGrid, 1);
    StringGrid->SetRow(1);
    FClickAttached = true;
    StringGridClick();
}

void TRecordEditForm::StringGridClick()
{
    if (FClickAttached)
        RowToFields(StringGrid->Row());
}

void TRecordEditForm::StringGridDblClick()
{
    if (FPicking)
        done(QDialog::Accepted);
}

QString TRecordEditForm::RowKey(int row) const
{
    bool ok = false;
    const int key = StringGrid->Cells(0, row).trimmed().toInt(&ok);
    return ok ? QString::number(key) : QString();
}

QString TRecordEditForm::NextID()
{
    return NextKey(FRecords.Table, FRecords.KeyReferences);
}

QList<TRecordEditForm::TDependentRows> TRecordEditForm::DependentRows(const QString &key) const
{
    QList<TDependentRows> rows = FRecords.Dependents;
    for (TDependentRows &dependent : rows)
        dependent.Where = dependent.Where.arg(key);
    return rows;
}

void TRecordEditForm::RowToFields(int row)
{
    for (int i = 0; i < FFields.size(); ++i)
        if (auto edit = qobject_cast<TMaskEdit *>(FFields.at(i)))
            edit->SetText(StringGrid->Cells(2 + i, row));
}

QStringList TRecordEditForm::FieldValues() const
{
    QStringList values;
    for (QWidget *field : FFields) {
        if (auto edit = qobject_cast<TMaskEdit *>(field))
            values << edit->Text();
        else if (auto spin = qobject_cast<QSpinBox *>(field))
            values << QString::number(spin->value());
    }
    return values;
}

QStringList TRecordEditForm::InsertLines(const QString &key) const
{
    QStringList values;
    for (const QString &value : FieldValues())
        values << QuotedStr(value);
    return {QStringLiteral("INSERT INTO %1 (%2)").arg(FRecords.Table, FRecords.Columns.join(QStringLiteral(", "))),
            QStringLiteral("VALUES(") + key + QStringLiteral(", ") + values.join(QLatin1Char(',')) + QLatin1Char(')')};
}

QStringList TRecordEditForm::UpdateLines(const QString &key) const
{
    QStringList lines{QStringLiteral("UPDATE ") + FRecords.Table + QStringLiteral(" SET")};
    const QStringList values = FieldValues();
    for (int i = 0; i < values.size(); ++i)
        lines << FRecords.UpdateParts.value(i) + QuotedStr(values.at(i)) +
                     (i + 1 < values.size() ? QStringLiteral(", ") : QString());
    return lines << FRecords.UpdateParts.value(values.size()) + key;
}

void TRecordEditForm::ReadResults(int row)
{
    for (const auto &[field, column] : std::as_const(FRecords.Results))
        *field = StringGrid->Cells(column, row);
}

bool TRecordEditForm::MayStore(bool)
{
    return true;
}

bool TRecordEditForm::DescribeDependents(const QString &key, QString &text)
{
    text.clear();
    QStringList parts;
    try {
        for (const TDependentRows &rows : DependentRows(key)) {
            const int count = ReadNumber(
                Query, {QStringLiteral("SELECT COUNT(*) FROM ") + rows.Table, QStringLiteral("WHERE ") + rows.Where});
            if (count > 0)
                parts << CountOf(count, rows.Singular, rows.Plural);
        }
    } catch (const Exception &e) {
        if (Query)
            Query->Close();
        SaveMsgDialog(e.Message(), MsgError, BtnOK);
        return false;
    }
    if (!parts.isEmpty()) {
        text = QStringLiteral("Deleted with it: its ") + JoinedList(parts) + QLatin1Char('.');
        if (!FRecords.DependentsNote.isEmpty())
            text += QLatin1Char(' ') + FRecords.DependentsNote;
    }
    return true;
}

QString TRecordEditForm::StoreConflict(bool)
{
    return QString();
}

bool TRecordEditForm::StoreInOneStep(bool adding, const std::function<bool()> &write)
{
    QString conflict;
    try {
        RequireQuery(Query);
        if (!Query->Connection())
            throw EDatabaseError(QStringLiteral("The statement has no connection."));
        // The file's write lock is held from the check to the write: another copy's
        // check waits until this row is stored, and then sees it.
        TDbTransaction transaction(*Query->Connection());
        conflict = StoreConflict(adding);
        if (conflict.isEmpty() && write())
            transaction.Commit();
    } catch (const Exception &e) {
        // Rolled back by now: other copies need not wait while the message is read.
        if (Query)
            Query->Close();
        SaveMsgDialog(e.Message(), MsgError, BtnOK);
        return false;
    }
    if (conflict.isEmpty())
        return true;
    ShowMessage(conflict);
    return false;
}

int TRecordEditForm::InsertRecord()
{
    int inserted = -1;
    const bool stored = StoreInOneStep(true, [&] {
        const QString key = NextID();
        if (key.isEmpty())
            return false; // reported
        Run(InsertLines(key));
        inserted = key.toInt();
        return true;
    });
    return stored ? inserted : -1;
}

bool TRecordEditForm::UpdateRecord()
{
    const QString key = RowKey(StringGrid->Row());
    if (key.isEmpty())
        return false; // a row without a key is not stored: nothing to update
    return StoreInOneStep(false, [&] {
        Run(UpdateLines(key));
        return true;
    });
}

void TRecordEditForm::Run(const QStringList &lines)
{
    Query->Clear();
    for (const QString &line : lines)
        Query->Add(line);
    Query->ExecSQL();
}

bool TRecordEditForm::DeleteRecord()
{
    const QString key = RowKey(StringGrid->Row());
    if (key.isEmpty())
        return true;
    // The rows that belong to it go in the same step, or nothing goes.
    QList<QStringList> statements;
    for (const TDependentRows &rows : DependentRows(key))
        statements << QStringList{QStringLiteral("DELETE FROM ") + rows.Table + QStringLiteral(" WHERE ") + rows.Where};
    statements << QStringList{QStringLiteral("DELETE FROM ") + FRecords.Table + QStringLiteral(" WHERE ID=") + key};
    return ExecuteTogether(Query, statements);
}

void TRecordEditForm::BitBtn_AddClick(QAbstractButton *sender)
{
    const bool adding = sender == BitBtn_Add;
    if (!adding && RowKey(StringGrid->Row()).isEmpty()) {
        // Writing the fields into a row that is not stored would look saved and be lost.
        ShowMessage(QStringLiteral("This row is not stored yet. Use Add to store it."));
        return;
    }
    if (!MayStore(adding))
        return;
    FClickAttached = false;
    bool stored = false;
    QString key;
    if (adding) {
        const int newKey = InsertRecord();
        if (newKey >= 0) {
            if (!StringGrid->IsPlaceholder())
                StringGrid->AppendRow();
            else
                StringGrid->SetRow(1);
            key = QString::number(newKey);
            stored = true;
        }
    } else if (UpdateRecord()) {
        key = RowKey(StringGrid->Row());
        stored = true;
    }
    if (stored) {
        const int row = StringGrid->Row();
        StringGrid->SetCells(0, row, key);
        const QStringList values = FieldValues();
        for (int i = 0; i < values.size(); ++i)
            StringGrid->SetCells(2 + i, row, values.at(i));
    }
    FClickAttached = true;
    // After a failure the fields keep what was typed, so that it can be stored again.
    if (stored)
        StringGridClick();
    NumberRows(StringGrid, 1);
}

void TRecordEditForm::BitBtn_RemoveClick()
{
    const QString key = RowKey(StringGrid->Row());
    if (key.isEmpty()) {
        ShowMessage(QStringLiteral("There is no %1 to delete: the list is empty.").arg(FRecords.Noun));
        return;
    }
    QString question = FRecords.RemovalQuestion.arg(StringGrid->Cells(2, StringGrid->Row()));
    QString dependents;
    if (!DescribeDependents(key, dependents))
        return;
    if (!dependents.isEmpty())
        question += QStringLiteral("\n\n") + dependents;
    if (ConfirmBox(question, BtnYes | BtnNo) != ResultYes)
        return;
    if (DeleteRecord()) {
        FClickAttached = false;
        StringGrid->RemoveRow(StringGrid->Row());
        FClickAttached = true;
    }
    NumberRows(StringGrid, 1);
    StringGridClick();
}

void TRecordEditForm::FormClose()
{
    if (!Cancelled) {
        ReadResults(StringGrid->Row());
        if (StringGrid->Cells(FRecords.ChosenColumn, StringGrid->Row()).trimmed().isEmpty())
            Cancelled = true;
    }
}
