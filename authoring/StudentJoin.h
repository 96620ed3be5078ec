#pragma once

#include "authoring/MembershipEditor.h"


// The students of one class (classdetail rows of a classmaster row), in the order of
// the class list.
class TForm_StudentJoin : public TMembershipForm
{
    Q_OBJECT

public:
    explicit TForm_StudentJoin(TDbQuery *query, QWidget *parent = nullptr);

    // Adds every candidate in turn, as the Add button would.
    void BitBtn_AddAllClick();

    // Last name, ", ", first name, the middle initial after a blank when there is one,
    // and the student ID in parentheses.
    static QString DisplayName(const QString &lastName, const QString &firstName, const QString &middle,
                               const QString &studentID);

    TMaskEdit *Edit_ClassDesc = nullptr;
    TNvComboBox *NvComboBox_Student = nullptr;
    QPushButton *BitBtn_AddAll = nullptr;

protected:
    void LoadCandidates() override;
    QStringList MemberListingLines(const QString &parentKey) const override;
    bool MemberText(QString &text) const override;
    QString SelectedMemberKey() const override;
    QStringList InsertLines(const QString &parentKey, const QString &memberKey, int position) const override;
    QStringList FindSerialLines(const QString &parentKey, const QString &memberKey) const override;
    QStringList UpdateLines(const QString &parentKey, const QString &memberKey, int row,
                            const QString &serial) const override;
    QString DeleteLine(const QString &serial) const override;
    QString SequenceLine(int row, const QString &serial) const override;
    QStringList SearchLines(const QString &pattern) const override;
    QString SearchRowText() const override;
    QString DuplicateQuestion(const QString &text, bool updating) const override;
    QString RemovalQuestion(const QString &text) const override;
    QString SearchCaption() const override;
    QString SearchPrompt() const override;
    QString NoMatchText() const override;

private:
    // The display name of the current row of a student listing.
    QString RowDisplayName() const;
};
