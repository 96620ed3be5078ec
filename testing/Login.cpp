#include "testing/Login.h"

#include "database/Database.h"
#include "dialogs/FontGrowth.h"
#include "dialogs/SaveMsgDlg.h"
#include "testing/Password.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

#include <optional>

const QString TForm_Login::InvalidLoginMessage = QStringLiteral(
    "The user name and password combination is not valid. Please re-enter the user name and password to continue.");
const QString TForm_Login::InvalidOldPasswordMessage =
    QStringLiteral("The old password you entered is not valid.  Please re-enter the old password to continue.");
const QString TForm_Login::PasswordMismatchMessage = QStringLiteral(
    "The new password and password confirmation do not match.  Please re-enter the new and confirm password to "
    "continue.");
const QString TForm_Login::PasswordChangedElsewhereMessage =
    QStringLiteral("The password was changed by another login in the meantime; the new password was not saved.");

namespace {

QString NoQueryMessage()
{
    return QStringLiteral("The window has no statement object to run its statements on.");
}

constexpr int ClientWidth = 232;
constexpr int LoginHeight = 200;
constexpr int ChangePasswordHeight = 290;

QLabel *MakeLabel(const QString &name, const QString &caption, QWidget *parent)
{
    auto label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit *MakeEdit(const QString &name, bool password, QWidget *parent)
{
    auto edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (password) {
        edit->setEchoMode(QLineEdit::Password);
        edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    }
    return edit;
}

// A label above its edit field, as one group.
void AddField(QVBoxLayout *layout, QLabel *label, QLineEdit *edit)
{
    label->setBuddy(edit);
    layout->addWidget(label);
    layout->addWidget(edit);
}

} // namespace

TForm_Login::TForm_Login(TDbQuery *query, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Query(query)
{
    setObjectName(QStringLiteral("Form_Login"));

    Panel_Top = new QWidget(this);
    Panel_Top->setObjectName(QStringLiteral("Panel_Top"));
    Panel_Top->setFixedHeight(Grown(this, 45));
    Panel_Top->setAutoFillBackground(true);
    QPalette topPalette = Panel_Top->palette();
    topPalette.setColor(QPalette::Window, topPalette.color(QPalette::ToolTipBase));
    topPalette.setColor(QPalette::WindowText, topPalette.color(QPalette::ToolTipText));
    Panel_Top->setPalette(topPalette);
    Image1 = new QLabel(Panel_Top);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    Label_Title = new QLabel(Panel_Top);
    Label_Title->setObjectName(QStringLiteral("Label_Title"));
    Label_Title->setWordWrap(true);
    QFont titleFont = Label_Title->font();
    titleFont.setBold(true);
    Label_Title->setFont(titleFont);
    auto topLayout = new QHBoxLayout(Panel_Top);
    topLayout->setContentsMargins(8, 4, 8, 4);
    topLayout->addWidget(Image1);
    topLayout->addWidget(Label_Title, 1);

    NvLabel_UserName = MakeLabel(QStringLiteral("NvLabel_UserName"), QStringLiteral("User Name:"), this);
    NvMaskEdit_UserName = MakeEdit(QStringLiteral("NvMaskEdit_UserName"), false, this);
    NvLabel_Password = MakeLabel(QStringLiteral("NvLabel_Password"), QStringLiteral("Password:"), this);
    NvMaskEdit_Password = MakeEdit(QStringLiteral("NvMaskEdit_Password"), true, this);

    Panel_NewPassword = new QWidget(this);
    Panel_NewPassword->setObjectName(QStringLiteral("Panel_NewPassword"));
    NvLabel_NewPassword =
        MakeLabel(QStringLiteral("NvLabel_NewPassword"), QStringLiteral("New Password:"), Panel_NewPassword);
    NvMaskEdit_NewPassword = MakeEdit(QStringLiteral("NvMaskEdit_NewPassword"), true, Panel_NewPassword);
    NvLabel_ConfirmPassword =
        MakeLabel(QStringLiteral("NvLabel_ConfirmPassword"), QStringLiteral("Confirm Password:"), Panel_NewPassword);
    NvMaskEdit_ConfirmPassword = MakeEdit(QStringLiteral("NvMaskEdit_ConfirmPassword"), true, Panel_NewPassword);
    auto newLayout = new QVBoxLayout(Panel_NewPassword);
    newLayout->setContentsMargins(0, 0, 0, 0);
    newLayout->setSpacing(2);
    AddField(newLayout, NvLabel_NewPassword, NvMaskEdit_NewPassword);
    newLayout->addSpacing(6);
    AddField(newLayout, NvLabel_ConfirmPassword, NvMaskEdit_ConfirmPassword);

    Panel_Bottom = new QWidget(this);
    Panel_Bottom->setObjectName(QStringLiteral("Panel_Bottom"));
    BitBtn_OK = new QPushButton(QStringLiteral("OK"), Panel_Bottom);
    BitBtn_OK->setObjectName(QStringLiteral("BitBtn_OK"));
    BitBtn_OK->setDefault(true);
    BitBtn_Cancel = new QPushButton(QStringLiteral("Cancel"), Panel_Bottom);
    BitBtn_Cancel->setObjectName(QStringLiteral("BitBtn_Cancel"));
    BitBtn_Cancel->setAutoDefault(false);
    auto bottomLayout = new QHBoxLayout(Panel_Bottom);
    bottomLayout->setContentsMargins(8, 6, 8, 10);
    bottomLayout->addStretch();
    bottomLayout->addWidget(BitBtn_OK);
    bottomLayout->addWidget(BitBtn_Cancel);
    bottomLayout->addStretch();

    auto fields = new QVBoxLayout;
    fields->setContentsMargins(16, 8, 16, 0);
    fields->setSpacing(2);
    AddField(fields, NvLabel_UserName, NvMaskEdit_UserName);
    fields->addSpacing(6);
    AddField(fields, NvLabel_Password, NvMaskEdit_Password);
    fields->addSpacing(6);
    fields->addWidget(Panel_NewPassword);

    auto layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel_Top);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addWidget(Panel_Bottom);

    connect(BitBtn_OK, &QPushButton::clicked, this, &TForm_Login::BitBtn_OKClick);
    connect(BitBtn_Cancel, &QPushButton::clicked, this, &TForm_Login::BitBtn_CancelClick);

    SetLoginMode(ModeLogin);
}

void TForm_Login::SetLoginMode(int mode)
{
    const bool change = mode == ModeChangePassword;
    FMode = change ? ModeChangePassword : ModeLogin;
    if (change) {
        NvMaskEdit_Password->clear();
        NvMaskEdit_NewPassword->clear();
        NvMaskEdit_ConfirmPassword->clear();
    }
    setWindowTitle(change ? QStringLiteral("Change Password") : QStringLiteral("Login"));
    Label_Title->setText(change ? QStringLiteral("Enter password information:")
                                : QStringLiteral("Enter user name and password:"));
    Panel_NewPassword->setVisible(change);
    setFixedSize(Grown(this, QSize(ClientWidth, change ? ChangePasswordHeight : LoginHeight)));

    NvMaskEdit_UserName->setEnabled(!change);
    QPalette userPalette = NvMaskEdit_UserName->palette();
    const QPalette standard = palette();
    const QColor background = change ? standard.color(QPalette::Button) : standard.color(QPalette::Base);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        userPalette.setColor(group, QPalette::Base, background);
    NvMaskEdit_UserName->setPalette(userPalette);

    NvLabel_Password->setText(change ? QStringLiteral("Old Password") : QStringLiteral("Password"));
}

QString TForm_Login::UserName() const
{
    return NvMaskEdit_UserName->text();
}

void TForm_Login::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm_Login::FormShow()
{
    Cancelled = true;
    QLineEdit *field = FMode == ModeLogin ? NvMaskEdit_UserName : NvMaskEdit_Password;
    if (field->isEnabled() && field->isVisibleTo(this))
        field->setFocus();
}

void TForm_Login::BitBtn_OKClick()
{
    Cancelled = false;
    TryClose();
}

void TForm_Login::BitBtn_CancelClick()
{
    Cancelled = true;
    TryClose();
}

void TForm_Login::accept()
{
    BitBtn_OKClick();
}

void TForm_Login::reject()
{
    BitBtn_CancelClick();
}

void TForm_Login::TryClose()
{
    if (FormCloseQuery())
        QDialog::done(Cancelled ? QDialog::Rejected : QDialog::Accepted);
}

bool TForm_Login::FormCloseQuery()
{
    if (Cancelled)
        return true;

    bool match = false;
    try {
        match = CheckLogin();
    } catch (const Exception &e) {
        ShowErrorBox(e.Message());
        return false;
    }

    if (FMode == ModeLogin) {
        if (match && NoPassword) {
            SetLoginMode(ModeChangePassword);
            NvMaskEdit_Password->setFocus();
            return false;
        }
        if (match)
            return true;
        SaveMsgDialog(InvalidLoginMessage, MsgWarning, BtnOK);
        NvMaskEdit_UserName->setFocus();
        return false;
    }

    if (!match) {
        SaveMsgDialog(InvalidOldPasswordMessage, MsgWarning, BtnOK);
        NvMaskEdit_Password->setFocus();
        return false;
    }
    if (!PasswordsMatch()) {
        SaveMsgDialog(PasswordMismatchMessage, MsgWarning, BtnOK);
        NvMaskEdit_NewPassword->setFocus();
        return false;
    }
    // The student is logged in even when the password could not be saved; the next
    // login then asks for one again.
    SavePassword();
    return true;
}

bool TForm_Login::CheckLogin()
{
    NoPassword = false;
    const QString password = NvMaskEdit_Password->text();
    if (!Query)
        throw EDatabaseError(NoQueryMessage());
    Query->Clear();
    Query->Add(QStringLiteral("SELECT * FROM studentmaster"));
    Query->Add(QStringLiteral("WHERE STUDENTID=") + QuotedStr(UserName()));
    Query->Open();

    bool match = false;
    QString stored;
    try {
        for (; !Query->Eof(); Query->Next()) {
            const TDbField pword = Query->FieldByName(QStringLiteral("PWORD"));
            if (pword.IsNull()) {
                match = true;
                NoPassword = true;
                break;
            }
            if (PasswordVerifies(pword.AsString(), password)) {
                match = true;
                stored = pword.AsString();
                break;
            }
        }
    } catch (...) {
        Query->Close();
        throw;
    }
    Query->Close();

    if (match && !NoPassword && PasswordNeedsUpgrade(stored))
        UpgradeStoredPassword(stored, password);
    return match;
}

void TForm_Login::UpgradeStoredPassword(const QString &stored, const QString &password)
{
    if (!Query)
        return;
    try {
        const QString hash = HashPassword(password);
        Query->Clear();
        Query->Add(QStringLiteral("UPDATE studentmaster"));
        Query->Add(QStringLiteral("SET PWORD=") + QuotedStr(hash));
        Query->Add(QStringLiteral("WHERE STUDENTID=") + QuotedStr(UserName()));
        Query->Add(QStringLiteral("AND PWORD=") + QuotedStr(stored));
        Query->ExecSQL(); // no row changed: another login replaced it first, as well
    } catch (const Exception &e) {
        ReportStatementError(e.Message());
    }
}

bool TForm_Login::PasswordsMatch() const
{
    return NvMaskEdit_NewPassword->text() == NvMaskEdit_ConfirmPassword->text();
}

bool TForm_Login::SavePassword()
{
    const QString oldPassword = NvMaskEdit_Password->text();
    try {
        if (!Query)
            throw EDatabaseError(NoQueryMessage());
        const QString hash = HashPassword(NvMaskEdit_NewPassword->text());

        // The stored value the old password opens; the update below requires it to be
        // unchanged, so two logins at once cannot overwrite each other.
        Query->Clear();
        Query->Add(QStringLiteral("SELECT * FROM studentmaster"));
        Query->Add(QStringLiteral("WHERE STUDENTID=") + QuotedStr(UserName()));
        Query->Open();
        std::optional<QString> current;
        bool found = false;
        try {
            for (; !Query->Eof() && !found; Query->Next()) {
                const TDbField pword = Query->FieldByName(QStringLiteral("PWORD"));
                if (pword.IsNull()) {
                    found = true;
                } else if (PasswordVerifies(pword.AsString(), oldPassword)) {
                    found = true;
                    current = pword.AsString();
                }
            }
        } catch (...) {
            Query->Close();
            throw;
        }
        Query->Close();
        if (!found) {
            ReportStatementError(PasswordChangedElsewhereMessage);
            return false;
        }

        Query->Clear();
        Query->Add(QStringLiteral("UPDATE studentmaster"));
        Query->Add(QStringLiteral("SET PWORD=") + QuotedStr(hash));
        Query->Add(QStringLiteral("WHERE STUDENTID=") + QuotedStr(UserName()));
        Query->Add(current ? QStringLiteral("AND PWORD=") + QuotedStr(*current) : QStringLiteral("AND PWORD IS NULL"));
        Query->ExecSQL();
        if (Query->RowsAffected() == 0) {
            ReportStatementError(PasswordChangedElsewhereMessage);
            return false;
        }
    } catch (const Exception &e) {
        ReportStatementError(e.Message());
        return false;
    }
    return true;
}

void TForm_Login::ReportStatementError(const QString &message)
{
    // The statement holds the new hash and the stored password: never shown.
    SaveMsgDialog(message + QStringLiteral("\r\n\r\n") + (Query ? SecretFreeText(Query->Text()) : QString()), MsgError,
                  BtnOK);
}
