#pragma once

#include "authoring/RecordWindow.h"

// The other classes named here are declared by RecordWindow.h.
class QAbstractButton;

// The ordered membership editors: the members of one parent row in the records grid in
// their order, a sorted drop-down list of every candidate with its key as code, add,
// update and remove buttons that write at once, a keyword search, and rows dragged by
// their fixed cell into a new order, written back as 1, 2, 3 … into SEQUENCE.
class TMembershipForm : public TParentRecordsForm {
    Q_OBJECT

public:
    enum { ColSerial = 0, ColRow = 1, ColText = 2 };

    // What tells the two editors apart besides their candidates' texts: the window's
    // names and captions, the member table and its columns, the search and the texts
    // they show.
    struct TMemberTable {
        QString FormName; // the window's object name
        QString Caption;
        QString ParentEditName, ParentLabel; // the read-only parent field and its caption
        QString ListName, ListLabel; // the candidate list and its caption
        QStringList GridTitles;
        // What the Find, Add, Update and Remove buttons do here, said to a screen reader;
        // an empty one leaves the button's hint.
        QStringList ButtonNames;
        QString Table; // testdetail, classdetail
        QString ParentColumn; // TESTID, CLASSID
        QString MemberColumn; // CONTROLID, STUDENTID
        bool TextKey = false; // the member key is a text (quoted), not a number
        QStringList CandidateLines; // every candidate; each row's text is RowText
        QString CandidateCode; // the column of a candidate row that is its key
        QStringList ListingLines; // the members in their order; %1: the parent's key
        QStringList SearchLines; // the pattern follows the last line as a quoted literal
        QString SearchCaption;
        QString SearchPrompt;
        QString NoMatchText;
        QString DuplicateAdd; // %1: the member's text
        QString DuplicateUpdate; // %1: the member's text; empty: as DuplicateAdd
        QString RemovalQuestion; // %1: the member's text
        QString NothingToRemove;
    };

    // query: the main window's statement object; members: what the window edits.
    TMembershipForm(TDbQuery *query, const TMemberTable &members, QWidget *parent);

    void FormShow() override;
    void FormClose() override;
    void StringGridClick() override;
    void StringGridRowMoved(int fromRow, int toRow);
    // One handler for the Add and the Update button.
    void BitBtn_AddClick(QAbstractButton *sender);
    void BitBtn_RemoveClick();
    void BitBtn_FindClick();

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

    QPushButton *BitBtn_Find = nullptr;
    QPushButton *BitBtn_Add = nullptr;
    QPushButton *BitBtn_Update = nullptr;
    QPushButton *BitBtn_Remove = nullptr;

protected:
    // The window's further button, after the four common ones.
    void AddFurtherButton(QPushButton *button);

    // The text of the current row of the candidates or of a search.
    virtual QString RowText() const = 0;
    // The text of the current listing row; false when the member is not to be shown.
    virtual bool MemberText(QString &text) const;

    TMaskEdit *FParentEdit = nullptr;
    TNvComboBox *FCandidates = nullptr;
    TMemberTable FMembers;

private:
    // The read-only parent field and the candidate list beside the buttons.
    void CreateTopPanel();
    // Fills the candidate list; raises on failure.
    void LoadCandidates();
    // The selected candidate's key as it goes into statements; empty when none.
    QString SelectedMemberKey() const;
    // The member key as written into a statement.
    QString MemberValue(const QString &memberKey) const;

    QString Serial(int row) const;

    QWidget *FButtonBox = nullptr;
    bool FClickAttached = true;
    bool FPicked = false; // a candidate chosen by the teacher and not used yet
};
