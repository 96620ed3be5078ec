#pragma once

#include "authoring/RecordWindow.h"

#include <QDialog>
#include <QStringList>

class QAbstractButton;
class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;
class TDbQuery;
class TMaskEdit;
class TNvComboBox;
class TStringGrid;

// The ordered membership editors: the members of one parent row in the records grid in
// their order, a sorted drop-down list of every candidate with its key as code, add,
// update and remove buttons that write at once, a keyword search, and rows dragged by
// their fixed cell into a new order, written back as 1, 2, 3 … into SEQUENCE.
class TMembershipForm : public QDialog
{
    Q_OBJECT

public:
    enum { ColSerial = 0, ColRow = 1, ColText = 2 };

    // query: the main window's statement object.
    explicit TMembershipForm(TDbQuery *query, QWidget *parent = nullptr);

    void SetParentKey(const QString &key) { ParentKey = key; }
    void SetParentName(const QString &name) { ParentName = name; }

    void FormShow();
    void FormClose();
    void StringGridClick();
    void StringGridRowMoved(int fromRow, int toRow);
    // One handler for the Add and the Update button.
    void BitBtn_AddClick(QAbstractButton *sender);
    void BitBtn_RemoveClick();
    void BitBtn_FindClick();
    void BitBtn_OKClick();
    void BitBtn_CancelClick();
    void BitBtn_CloseClick();

    // The SERIAL of the member row just added (the largest for that parent and member);
    // -1 on failure.
    int FindSerial(const QString &parentKey, const QString &memberKey);
    // The new row's SERIAL, or -1 when nothing was added.
    int InsertMember();
    // True when the current grid row may show the selected candidate.
    bool UpdateMember();
    // True when the current grid row is to leave the grid.
    bool DeleteMember();
    // Writes every row's position into SEQUENCE.
    void UpdateSequences();
    // True when adding (or, with updating, replacing the member of row) may go on.
    bool ConfirmDuplicate(bool updating, int row);

    // The search pattern: blanks become "%", and "%" stands at both ends of a non-empty text.
    static QString KeywordPattern(const QString &keywords);

    TDbQuery *Query;
    QString ParentKey;
    QString ParentName;
    bool Cancelled = false;

    QWidget *Panel_Top = nullptr;
    QPushButton *BitBtn_Find = nullptr;
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
    // The read-only parent field and the candidate list, named by each window.
    void CreateTopPanel(const QString &parentEditName, const QString &parentLabel, const QString &listName,
                        const QString &listLabel);
    // The window's further button, after the four common ones.
    void AddFurtherButton(QPushButton *button);
    void SetGridTitles(const QStringList &titles) { FTitles = titles; }

    // Fills the candidate list; raises on failure.
    virtual void LoadCandidates() = 0;
    virtual QStringList MemberListingLines(const QString &parentKey) const = 0;
    // The text of the current listing row; false when the member is not to be shown.
    virtual bool MemberText(QString &text) const = 0;
    // The selected candidate's key as it goes into statements; empty when none.
    virtual QString SelectedMemberKey() const = 0;
    virtual QStringList InsertLines(const QString &parentKey, const QString &memberKey, int position) const = 0;
    virtual QStringList FindSerialLines(const QString &parentKey, const QString &memberKey) const = 0;
    virtual QStringList UpdateLines(const QString &parentKey, const QString &memberKey, int row,
                                    const QString &serial) const = 0;
    virtual QString DeleteLine(const QString &serial) const = 0;
    virtual QString SequenceLine(int row, const QString &serial) const = 0;
    virtual QStringList SearchLines(const QString &pattern) const = 0;
    // The text of the current search row.
    virtual QString SearchRowText() const = 0;
    virtual QString DuplicateQuestion(const QString &text, bool updating) const = 0;
    virtual QString RemovalQuestion(const QString &text) const = 0;
    virtual QString SearchCaption() const = 0;
    virtual QString SearchPrompt() const = 0;
    virtual QString NoMatchText() const = 0;

    TMaskEdit *FParentEdit = nullptr;
    TNvComboBox *FCandidates = nullptr;
    // Said when Remove is pressed on the empty placeholder row.
    QString FNothingToRemove;

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Runs one statement that changes rows; false after reporting its failure.
    bool Execute(const QStringList &lines);
    QString Serial(int row) const;

    QStringList FTitles;
    QWidget *FButtonBox = nullptr;
    bool FClickAttached = true;
    bool FClosed = false;
    bool FPicked = false; // a candidate chosen by the teacher and not used yet
};
