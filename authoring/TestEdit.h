#pragma once

#include <QDialog>
#include <QStringList>

class QAbstractButton;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QVBoxLayout;
class TDbQuery;
class TMaskEdit;
class TStringGrid;

// The pattern of the header record windows (tests, classes, students): every row of
// one table in the records grid, the current row in edit fields above it, and add,
// update and remove buttons that write each change to the database at once. In
// picking mode the edit fields are hidden and the window hands back its current row.
class TRecordEditForm : public QDialog
{
    Q_OBJECT

public:
    // query: the main window's statement object.
    explicit TRecordEditForm(TDbQuery *query, QWidget *parent = nullptr);

    // Editing: the edit fields and Close. Picking: OK and Cancel, and a double click on
    // a row chooses it.
    void SetPicking(bool picking);
    bool Picking() const { return FPicking; }

    void FormShow();
    void FormClose();
    void StringGridClick();
    void StringGridDblClick();
    // One handler for the Add and the Update button.
    void BitBtn_AddClick(QAbstractButton *sender);
    void BitBtn_RemoveClick();
    void BitBtn_OKClick();
    void BitBtn_CancelClick();
    void BitBtn_CloseClick();

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
    struct TDependentRows
    {
        QString Table;
        QString Where;
        QString Singular; // "student", "assigned test" …
        QString Plural;
    };

    TDbQuery *Query;
    // Set by the bottom buttons; closing by the close box counts as OK.
    bool Cancelled = false;

    QWidget *Panel_Top = nullptr;
    QPushButton *BitBtn_Add = nullptr;
    QPushButton *BitBtn_Update = nullptr;
    QPushButton *BitBtn_Remove = nullptr;
    TStringGrid *StringGrid = nullptr;
    QWidget *Panel_Bottom = nullptr;
    QPushButton *BitBtn_OK = nullptr;
    QPushButton *BitBtn_Cancel = nullptr;
    QPushButton *BitBtn_Close = nullptr;

    void done(int result) override;

protected:
    // What each window supplies.
    virtual QString TableName() const = 0;
    virtual QStringList ListingLines() const = 0;
    // The table columns of grid columns 0, 2, 3 …, read by name.
    virtual QStringList ListedColumns() const = 0;
    virtual QStringList InsertLines(const QString &key) const = 0;
    virtual QStringList UpdateLines(const QString &key) const = 0;
    virtual QString RemovalQuestion() const = 0;
    // The edit fields' values for grid columns 2, 3 …
    virtual QStringList FieldValues() const = 0;
    virtual void RowToFields(int row) = 0;
    virtual void ReadResults(int row) = 0;
    // The result that tells whether a row was chosen.
    virtual QString ChosenKey() const = 0;
    // What a row of this window is called ("test", "class", "student").
    virtual QString RecordNoun() const = 0;
    // The rows that go with the row of the key, and what is said after naming them.
    virtual QList<TDependentRows> DependentRows(const QString &key) const;
    virtual QString DependentsNote() const { return QString(); }
    // Columns (table.COLUMN) that may still refer to a key of this table; a new row
    // never takes a key that one of them holds.
    virtual QStringList KeyReferences() const { return {}; }
    // False when the edited values may not be stored; the reason has been shown.
    virtual bool MayStore(bool adding);

    // Builds the grid's titles and widths; column 0 is always the hidden key.
    void SetUpGrid(const QStringList &titles, const QList<int> &widths);
    // A label and an edit field in the next row of the top panel.
    TMaskEdit *AddEditField(const QString &name, const QString &label, int maxLength);
    // The hint of the edit field follows its text when the mouse moves over it.
    void HintFollowsText(QLineEdit *edit);
    // Called when the mouse moves over such a field.
    virtual void EditMouseMove(QLineEdit *sender);
    // Runs one statement that changes rows; false after reporting its failure.
    bool Execute(const QStringList &lines);

    QGridLayout *FieldLayout = nullptr;
    QVBoxLayout *FormLayout = nullptr;
    QWidget *FButtonBox = nullptr;

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // "Deleted with it: …" for the rows that go with the row of the key; false when
    // counting them failed (reported).
    bool DescribeDependents(const QString &key, QString &text);

    bool FPicking = false;
    bool FClickAttached = true;
    QList<QLineEdit *> FHintEdits;
};

// The tests (testmaster).
class TForm_TestEdit : public TRecordEditForm
{
    Q_OBJECT

public:
    enum { ColID = 0, ColRow = 1, ColName = 2, ColSubtitle = 3, ColInstructions = 4, ColColumns = 5 };

    explicit TForm_TestEdit(TDbQuery *query, QWidget *parent = nullptr);

    void Edit_TestTitleMouseMove(QLineEdit *sender);

    // List only tests that have at least one question.
    bool WithQuestionsOnly = false;

    QString ResultID;
    QString ResultName;
    QString ResultInstructions;
    QString ResultSubtitle;
    int ResultColumns = 2;
    bool PrintKey = false;

    TMaskEdit *Edit_TestTitle = nullptr;
    TMaskEdit *Edit_SubTitle = nullptr;
    TMaskEdit *Edit_Instructions = nullptr;
    QSpinBox *SpinEdit_Columns = nullptr;
    QWidget *Panel_Key = nullptr;
    QCheckBox *CheckBox_Key = nullptr;

protected:
    QString TableName() const override;
    QStringList ListingLines() const override;
    QStringList ListedColumns() const override;
    QStringList InsertLines(const QString &key) const override;
    QStringList UpdateLines(const QString &key) const override;
    QString RemovalQuestion() const override;
    QStringList FieldValues() const override;
    void RowToFields(int row) override;
    void ReadResults(int row) override;
    QString ChosenKey() const override { return ResultID; }
    QString RecordNoun() const override { return QStringLiteral("test"); }
    QList<TDependentRows> DependentRows(const QString &key) const override;
    QString DependentsNote() const override;
    QStringList KeyReferences() const override;
    bool MayStore(bool adding) override;
    void EditMouseMove(QLineEdit *sender) override { Edit_TestTitleMouseMove(sender); }

private:
    // The number of page columns a cell holds, 1 to 3; 2 when it holds no whole number.
    static int ColumnsOf(const QString &cell);
};
