#pragma once

#include <QStringList>

class QLineEdit;
class QPushButton;
class QSpinBox;
class QVBoxLayout;
class QWidget;
class TDbQuery;
class TMaskEdit;
class TNvComboBox;

// Helpers shared by the records windows of this folder that keep their own grid.
namespace RecordWindow {

// The decimal text of a whole number held in a cell or key; empty when it holds none.
// Keys go into statements only in this form.
QString WholeNumber(const QString &text);

// A 30 × 23 button without caption; icon: "find", "add", "update", "remove", "preview".
QPushButton *SmallButton(QWidget *parent, const QString &name, const QString &hint, const QString &icon);
// A 75 × 25 button of the bottom panel.
QPushButton *BottomButton(QWidget *parent, const QString &name, const QString &caption);
// A read-only, greyed edit field.
TMaskEdit *ReadOnlyEdit(QWidget *parent, const QString &name);
// The bottom panel with OK, Cancel and Close centred.
QWidget *BottomPanel(QWidget *parent, QPushButton **ok, QPushButton **cancel, QPushButton **close);
// A drop-down list that stays as wide as its place, whatever the length of its items.
void KeepComboNarrow(TNvComboBox *combo);
// The window's panels from top to bottom, the grid taking the height left over.
QVBoxLayout *StackPanels(QWidget *form, QWidget *top, QWidget *grid, QWidget *bottom);

// Gives the focus to the window's first field the user can change (an edit field that
// is not read-only, a drop-down list, a spin box), or to its grid when it has none.
void FocusFirstEditable(QWidget *form, QWidget *grid);

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
