#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class TQADateTime;
class TQAListbox;

// Lets the teacher pick the correct answer of a date, drop-down or radio-group
// question, or the correct answers of a list-box question, from the question's own
// answers or from a calendar. Closing the window other than by Cancel (or Escape)
// writes the pick into the question.
class TForm_CorrectAnswers : public QDialog {
    Q_OBJECT

public:
    explicit TForm_CorrectAnswers(QWidget *parent = nullptr);

    // Set before showing: the question control and the inspector row that asked,
    // "CorrectAnswer" or "CorrectAnswers".
    QWidget *Control = nullptr;
    QString PropertyName;
    bool Cancelled = false;

    void FormShow();
    void FormClose();
    void Button_OKClick();
    void Button_CancelClick();

    QWidget *Panel_Top = nullptr;
    QLabel *NvLabel_Answers = nullptr;
    TQAListbox *QAListbox_Answers = nullptr;
    TQADateTime *QADateTime_Answer = nullptr;
    QWidget *Panel_Bottom = nullptr;
    QPushButton *Button_OK = nullptr;
    QPushButton *Button_Cancel = nullptr;

public slots:
    // Escape cancels; anything else that closes the window goes through closeEvent.
    void reject() override;
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Set by FormShow once the window shows a question it can write back to.
    bool FPrepared = false;
};
