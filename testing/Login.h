#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TDbQuery;

// The login window's layouts.
enum TLoginMode : int {
    ModeLogin = 0,
    ModeChangePassword = 1,
};

// Student login. A student without a password is let in with any password and must
// then choose one: the window switches to its change-password layout and closes only
// once a password has been set, or on Cancel.
class TForm_Login : public QDialog {
    Q_OBJECT

public:
    // query: the program's one statement object; the window runs its statements on it.
    explicit TForm_Login(TDbQuery *query, QWidget *parent = nullptr);

    // Applies the layout of the mode and records the mode.
    void SetLoginMode(int mode);
    int LoginMode() const { return FMode; }

    // The user-name field's text as typed: the student ID of the whole sequence.
    QString UserName() const;

    // Whether a student row has the user name and the password field opens it (a row
    // without a password opens with any). Sets NoPassword. A password kept in the older
    // scrambled form is replaced by a hash on the way. Raises EDatabaseError.
    bool CheckLogin();
    // Whether the new-password and confirm fields hold exactly the same text.
    bool PasswordsMatch() const;
    // Stores the new password as a hash, provided the stored value is still the one the
    // old password opens. Reports a failure itself; false when nothing was saved.
    bool SavePassword();

    // The close check; true when the window may close.
    bool FormCloseQuery();

    void FormShow();
    void BitBtn_OKClick();
    void BitBtn_CancelClick();

    TDbQuery *Query;
    bool Cancelled = true;
    bool NoPassword = false;

    QWidget *Panel_Top = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label_Title = nullptr;
    QLabel *NvLabel_UserName = nullptr;
    QLineEdit *NvMaskEdit_UserName = nullptr;
    QLabel *NvLabel_Password = nullptr;
    QLineEdit *NvMaskEdit_Password = nullptr;
    QWidget *Panel_NewPassword = nullptr;
    QLabel *NvLabel_NewPassword = nullptr;
    QLineEdit *NvMaskEdit_NewPassword = nullptr;
    QLabel *NvLabel_ConfirmPassword = nullptr;
    QLineEdit *NvMaskEdit_ConfirmPassword = nullptr;
    QWidget *Panel_Bottom = nullptr;
    QPushButton *BitBtn_OK = nullptr;
    QPushButton *BitBtn_Cancel = nullptr;

    static const QString InvalidLoginMessage;
    static const QString InvalidOldPasswordMessage;
    static const QString PasswordMismatchMessage;
    static const QString PasswordChangedElsewhereMessage;

public slots:
    // Enter and Escape, and closing through the window's close box, come here.
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void TryClose();
    // Replaces the stored value that the password opened by a fresh hash, unless
    // another login has changed it meanwhile.
    void UpgradeStoredPassword(const QString &stored, const QString &password);
    void ReportStatementError(const QString &message);

    int FMode = ModeLogin;
};
