#pragma once

#include "authoring/RecordEditForm.h"

// The students (studentmaster), who are also the testing program's login accounts.
class TForm_StudentEdit : public TRecordEditForm {
    Q_OBJECT

public:
    enum { ColID = 0, ColRow = 1, ColLastName = 2, ColFirstName = 3, ColMiddle = 4, ColStudentID = 5 };

    explicit TForm_StudentEdit(TDbQuery *query, QWidget *parent = nullptr);

    void Edit_LastNameMouseMove(QLineEdit *sender);
    // Forgets the current student's password, so that his next login asks for a new one.
    void BitBtn_ResetPasswordClick();
    // True when the password was reset; failures are reported.
    bool ResetPassword();

    QString ResultLastName;
    QString ResultFirstName;
    QString ResultMiddle;
    QString ResultStudentID;

    TMaskEdit *Edit_LastName = nullptr;
    TMaskEdit *Edit_FirstName = nullptr;
    TMaskEdit *Edit_Middle = nullptr;
    TMaskEdit *Edit_StudentID = nullptr;
    QPushButton *BitBtn_ResetPassword = nullptr;

protected:
    // Rows name a student by his student ID, not by his key.
    QList<TDependentRows> DependentRows(const QString &key) const override;
    QString StoreConflict(bool adding) override;
};
