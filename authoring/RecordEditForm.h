#pragma once

#include "authoring/RecordWindow.h"

#include <QList>
#include <QPair>
#include <QStringList>

#include <functional>

class QAbstractButton;
class QGridLayout;
class QPushButton;
class TDbQuery;
class TMaskEdit;

// The pattern of the header record windows (tests, classes, students): every row of
// one table in the records grid, the current row in edit fields above it, and add,
// update and remove buttons that write each change to the database at once. In
// picking mode the edit fields are hidden and the window hands back its current row.
class TRecordEditForm : public TRecordsForm {
    Q_OBJECT

public:
    // query: the main window's statement object.
    explicit TRecordEditForm(TDbQuery *query, QWidget *parent = nullptr);

    // Editing: the edit fields and Close. Picking: OK and Cancel, and a double click on
    // a row chooses it.
    void SetPicking(bool picking);
    bool Picking() const { return FPicking; }

    void FormShow() override;
    void FormClose() override;
    void StringGridClick() override;
    void StringGridDblClick() override;
    // One handler for the Add and the Update button.
    void BitBtn_AddClick(QAbstractButton *sender);
    void BitBtn_RemoveClick();

    // New key as text; empty when the look-up failed (already reported).
    virtual QString NextID();
    // The new key, or -1 when nothing was inserted.
    int InsertRecord();
    // True when the current row may show the edited values.
    bool UpdateRecord();
    // True when the current row is to leave the grid.
    bool DeleteRecord();

    // The key in column 0 of a row as a bare number; empty when the cell holds none.
    QString RowKey(int row) const;

    // Rows of another table that belong to a row: they are deleted with it, in one step,
    // so that no later row given the same key or ID takes them over.
    struct TDependentRows {
        QString Table;
        QString Where;
        QString Singular; // "student", "assigned test" …
        QString Plural;
    };

    QPushButton *BitBtn_Add = nullptr;
    QPushButton *BitBtn_Update = nullptr;
    QPushButton *BitBtn_Remove = nullptr;

protected:
    // What tells the windows apart besides their statements and results.
    struct TRecordTable {
        QString Table;
        QString Noun; // what a row is called: "test", "class", "student"
        QStringList Listing; // the listing statement
        QStringList Columns; // the table columns of grid columns 0, 2, 3 …, read by name
        QString RemovalQuestion; // %1: grid column 2 of the current row
        int ChosenColumn = 0; // a row counts as chosen when this cell is not blank
        QList<TDependentRows> Dependents; // %1 in their Where: the row's key
        QString DependentsNote; // said after naming them
        QStringList KeyReferences; // table.COLUMN that may still hold a key of this table
        // The update's line of each field before its value, then the one before the key:
        // "NAME = ", …, "WHERE ID = ".
        QStringList UpdateParts;
        // The result fields and the grid column each one receives.
        QList<QPair<QString *, int>> Results;
    };

    virtual QStringList ListingLines() const { return FRecords.Listing; }
    // The key and the fields' values in the order of Columns.
    virtual QStringList InsertLines(const QString &key) const;
    // The fields' values after UpdateParts.
    virtual QStringList UpdateLines(const QString &key) const;
    // Shows a grid row in the edit fields.
    virtual void RowToFields(int row);
    // Fills Results from a grid row.
    virtual void ReadResults(int row);
    // The rows that go with the row of the key.
    virtual QList<TDependentRows> DependentRows(const QString &key) const;
    // False when the edited values may not be stored; the reason has been shown.
    virtual bool MayStore(bool adding);
    // Why the edited values may not be stored, told by what the file holds; empty when
    // they may. Runs in the same step as the write; raises on failure.
    virtual QString StoreConflict(bool adding);
    // The edit fields' values for grid columns 2, 3 …
    QStringList FieldValues() const;

    // Builds the grid's titles and widths; column 0 is always the hidden key.
    void SetUpGrid(const QStringList &titles, const QList<int> &widths);
    // A label and an edit field in the next row of the top panel.
    TMaskEdit *AddEditField(const QString &name, const QString &label, int maxLength);
    // StoreConflict and the write (false when it did not write, after reporting why) as
    // one step; a conflict or failure is shown and nothing is written.
    bool StoreInOneStep(bool adding, const std::function<bool()> &write);
    // Runs one statement that changes rows; raises on failure.
    void Run(const QStringList &lines);

    QGridLayout *FieldLayout = nullptr;
    QWidget *FButtonBox = nullptr;
    TRecordTable FRecords;
    // The fields of grid columns 2, 3 …, in order: edit fields, or a spin box.
    QList<QWidget *> FFields;

private:
    // "Deleted with it: …" for the rows that go with the row of the key; false when
    // counting them failed (reported).
    bool DescribeDependents(const QString &key, QString &text);

    bool FPicking = false;
    bool FClickAttached = true;
};
