#pragma once

#include "authoring/MembershipEditor.h"

// The students of one class (classdetail rows of a classmaster row), in the order of
// the class list.
class TForm_StudentJoin : public TMembershipForm {
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
    // The display name of the current row of a student listing.
    QString RowText() const override;
    bool MemberText(QString &text) const override;
};
