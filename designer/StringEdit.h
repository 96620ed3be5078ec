#pragma once

// "Strings Editor": edits the lines of a string-list property. The caller loads the
// lines, shows the dialog modally and takes them back only after OK.

#include <QDialog>
#include <QStringList>

class QFrame;
class QPlainTextEdit;
class QPushButton;

class TForm_StringEdit : public QDialog {
    Q_OBJECT
public:
    explicit TForm_StringEdit(QWidget *parent = nullptr);

    QFrame *Panel_Strings = nullptr;
    QPlainTextEdit *RichEdit_Strings = nullptr;
    QFrame *Panel_Buttons = nullptr;
    QPushButton *Button_Ok = nullptr;
    QPushButton *Button_Cancel = nullptr;

    void SetLines(const QStringList &lines);
    QStringList Lines() const;
    // ResultOK or ResultCancel.
    int ModalResult() const { return result(); }

    void FormShow();
    void Button_OkClick();
    void Button_CancelClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;
};
