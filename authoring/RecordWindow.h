#pragma once

#include <QDialog>
#include <QPair>
#include <QStringList>

#include <functional>

class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidgetItem;
class QMargins;
class QKeyEvent;
class QShowEvent;
class QPushButton;
class QSpinBox;
class QVBoxLayout;
class QWidget;
class TDbQuery;
class TMaskEdit;
class TNvComboBox;
class TQAListbox;
class TStringGrid;

// Helpers shared by the records windows of this folder that keep their own grid.
namespace RecordWindow {

// The decimal text of a whole number held in a cell or key; empty when it holds none.
// Keys go into statements only in this form.
QString WholeNumber(const QString &text);

// A 30 × 23 button without caption; icon: "find", "add", "update", "remove", "preview".
QPushButton *SmallButton(QWidget *parent, const QString &name, const QString &hint, const QString &icon);
// A box of parent's that lays its buttons side by side, 2 pixels apart.
QWidget *ButtonRow(QWidget *parent);
// A SmallButton at the end of such a box.
QPushButton *RowButton(QWidget *row, const QString &name, const QString &hint, const QString &icon);
// The add, update and remove buttons at the end of such a box; hints: their three hints.
void EditButtons(QWidget *row, const QStringList &hints, QPushButton *&add, QPushButton *&update, QPushButton *&remove);
// A 75 × 25 button of the bottom panel.
QPushButton *BottomButton(QWidget *parent, const QString &name, const QString &caption);
// A read-only, greyed edit field.
TMaskEdit *ReadOnlyEdit(QWidget *parent, const QString &name);
// The bottom panel with OK, Cancel and Close centred.
QWidget *BottomPanel(QWidget *parent, QPushButton **ok, QPushButton **cancel, QPushButton **close);
// A drop-down list that stays as wide as its place, whatever the length of its items.
void KeepComboNarrow(TNvComboBox *combo);
// The grid layout of a top panel: labels in column 0, fields stretching in column 1.
QGridLayout *FieldGrid(QWidget *panel, const QMargins &margins, int verticalSpacing);
// The window's panels from top to bottom, the grid taking the height left over.
QVBoxLayout *StackPanels(QWidget *form, QWidget *top, QWidget *grid, QWidget *bottom);

// Gives the focus to the window's first field the user can change (an edit field that
// is not read-only, a drop-down list, a spin box), or to its grid when it has none.
void FocusFirstEditable(QWidget *form, QWidget *grid);

// The Tab order of a records window: its fields in the order they were made, then the
// buttons beside them, then the grid as one stop, then the bottom panel's buttons; only
// those that can take the focus now.
QList<QWidget *> TabStops(QWidget *form, QWidget *grid, QWidget *bottom);
// A caption that stands just before a field in a layout becomes the field's label, so
// a screen reader names the field by it (and an access key in it reaches the field).
void LinkCaptions(QWidget *form);

// The hint of an edit field shows its whole text; shown at once when the mouse is over it.
void TextHintFollows(QLineEdit *edit);

// Throws EDatabaseError when a window was given no statement object.
void RequireQuery(const TDbQuery *query);
// Runs one statement that changes rows; false after reporting its failure.
bool ExecuteStatement(TDbQuery *query, const QStringList &lines);
// Runs several such statements as one step: all of them, or after a failure (reported)
// none of them.
bool ExecuteTogether(TDbQuery *query, const QList<QStringList> &statements);
// The first value of a one-row result (a count); raises on failure.
int ReadNumber(TDbQuery *query, const QStringList &lines);
// "3 students", "1 result"; the parts joined by ", " and a closing " and ".
QString CountOf(int count, const QString &singular, const QString &plural);
QString JoinedList(const QStringList &parts);

// The spin box shows the value it holds: text left unfinished is taken if it makes a
// value, and otherwise replaced by the value that stands.
void CommitSpinText(QSpinBox *spin);

} // namespace RecordWindow

// The frame that the records windows share: the main window's statement object, a top
// panel, the records grid and the bottom panel with OK, Cancel and Close, 512 × 343.
// FormShow runs when the window is shown, FormClose once when it closes, however it is
// closed; Escape answers as Cancel where Cancel is shown, otherwise as Close.
class TRecordsForm : public QDialog {
    Q_OBJECT

public:
    // query: the main window's statement object.
    explicit TRecordsForm(TDbQuery *query, QWidget *parent = nullptr);

    virtual void FormShow() = 0;
    virtual void FormClose() { }
    // The grid's click and double-click handlers.
    virtual void StringGridClick() { }
    virtual void StringGridDblClick() { }
    void BitBtn_OKClick();
    void BitBtn_CancelClick();
    void BitBtn_CloseClick();

    TDbQuery *Query;
    // Set by the bottom buttons; closing by the close box counts as OK.
    bool Cancelled = false;

    QWidget *Panel_Top = nullptr;
    TStringGrid *StringGrid = nullptr;
    QWidget *Panel_Bottom = nullptr;
    QPushButton *BitBtn_OK = nullptr;
    QPushButton *BitBtn_Cancel = nullptr;
    QPushButton *BitBtn_Close = nullptr;

    void done(int result) override;

protected:
    // False keeps the window open; asked before it closes.
    virtual bool MayClose() { return true; }
    // When the mouse moves over the edit field, its mouse-move handler runs; that of the
    // windows lets the field's hint follow its text.
    void HintFollowsText(QLineEdit *edit, std::function<void(QLineEdit *sender)> mouseMove);

    // Runs a listing that is not guarded: its failure is shown like any error nobody
    // caught. False after a failure.
    bool LoadUnguarded(const std::function<void()> &load);
    // Lists the rows of a statement into the grid: readRow fills the cells of one row
    // from the current result row, or returns false to skip it. A failure shows the
    // engine's text (with the statement when asked) in a plain box and keeps the rows read.
    void ListRows(const QStringList &lines, const std::function<bool(QStringList &cells)> &readRow, bool withStatement);

    // The top panel, height pixels high, laid out as RecordWindow::FieldGrid.
    QGridLayout *TopFields(int height, const QMargins &margins, int verticalSpacing);
    // Runs one statement that changes rows; false after reporting its failure.
    bool Execute(const QStringList &lines);
    // The next free key of table's ID as a decimal text, above every key that the columns
    // of references ("table.COLUMN") still name; empty after reporting a failure.
    QString NextKey(const QString &table, const QStringList &references = {});

    QVBoxLayout *FormLayout = nullptr;

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // Tab and Shift+Tab follow RecordWindow::TabStops.
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QPair<QLineEdit *, std::function<void(QLineEdit *)>>> FHintEdits;
    bool FClosed = false;
};

// A records window of the rows that belong to one parent row (a class's tests, a test's
// questions, a class's students).
class TParentRecordsForm : public TRecordsForm {
    Q_OBJECT

public:
    using TRecordsForm::TRecordsForm;

    void SetParentKey(const QString &key) { ParentKey = key; }
    void SetParentName(const QString &name) { ParentName = name; }

    // The parent row, set by the caller: its ID (a whole number) and name.
    QString ParentKey;
    QString ParentName;
};

// The frame of the windows that pick one item of a sorted list, 472 × 293: a label over
// the list, OK (enabled while an item is selected) and Cancel. A double click anywhere in
// the list is OK; Escape and the close box are Cancel. FormShow runs when the window is
// shown, FormClose when it closes.
class TListPickForm : public QDialog {
    Q_OBJECT

public:
    TListPickForm(QWidget *parent, const QString &labelName, const QString &labelText, const QString &listName);

    virtual void FormShow() = 0;
    void FormClose();
    virtual void Button_OKClick() = 0;
    void Button_CancelClick();

    bool Cancelled = false;

    QWidget *Panel_Top = nullptr;
    QWidget *Panel_Bottom = nullptr;
    QPushButton *Button_OK = nullptr;
    QPushButton *Button_Cancel = nullptr;

    void done(int result) override;
    void reject() override;

protected:
    // The list's click and mouse-move handlers.
    void ListClick();
    void ListMouseMove(QListWidgetItem *item);
    // Gives the list the focus, fits its horizontal extent and, when it holds items and
    // selectFirst is set, selects the first; then the click handler.
    void ShowList(bool selectFirst);

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    QLabel *FLabel = nullptr;
    TQAListbox *FList = nullptr;
    // Set while the window is shown again after a search: the list stays as it is.
    bool FShowingAgain = false;
};
