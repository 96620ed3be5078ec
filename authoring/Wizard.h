#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;
class QStackedWidget;
class TNvComboBox;
class TQADateTime;
class TQAListbox;
class TQAMaskEdit;
class TQARichEdit;

// The question kinds as the authoring windows tell them apart.
enum class TQuestionKind { None, ShortAnswer, DropDown, RadioGroup, ListBox, Essay, Date };

TQuestionKind QuestionKindOf(const QObject *control);
// List box, drop-down and radio group: the teacher types the possible answers.
bool IsChoiceKind(TQuestionKind kind);

// The Set-Up Wizard: the teacher fills in one question step by step (question text,
// possible answers for the choice kinds, correct answer or answers). The results are
// written into the question control when the window closes from its last page; the
// details drop-down (MultiSelect, CharCase) applies to the question at once.
class TForm_Wizard : public QDialog {
    Q_OBJECT

public:
    explicit TForm_Wizard(QWidget *parent = nullptr);

    // The question control to fill in, set before showing.
    QWidget *Control = nullptr;
    // Clear once the last page is reached; closing then writes the results.
    bool Cancelled = true;

    void FormShow();
    void FormClose();
    void BitBtn_PreviousClick();
    void BitBtn_NextClick();
    void BitBtn_CancelClick();
    void NvComboBox_DetailsChange();
    void PageControlChange();
    void QAMaskEdit_QuestionChange();

    QWidget *Panel = nullptr;
    QLabel *Label_Title = nullptr;
    QLabel *Label_SubTitle = nullptr;
    QLabel *Image = nullptr;
    QStackedWidget *PageControl = nullptr;

    QWidget *TabSheet_Question = nullptr;
    QWidget *Panel_Question = nullptr;
    QLabel *NvLabel_Question = nullptr;
    TQAMaskEdit *QAMaskEdit_Question = nullptr;

    QWidget *TabSheet_Answers = nullptr;
    QLabel *NvLabel_Answers = nullptr;
    TQARichEdit *QARichEdit_Answers = nullptr;

    QWidget *TabSheet_CorrectAnswers = nullptr;
    QWidget *Panel_CorrectTop = nullptr;
    QLabel *NvLabel_Correct = nullptr;
    QLabel *NvLabel_Details = nullptr;
    TNvComboBox *NvComboBox_Details = nullptr;
    TQAMaskEdit *QAMaskEdit_Correct = nullptr;
    TQARichEdit *QARichEdit_Correct = nullptr;
    TQADateTime *QADateTime_Correct = nullptr;
    TQAListbox *QAListbox_Correct = nullptr;

    QPushButton *BitBtn_Previous = nullptr;
    QPushButton *BitBtn_Next = nullptr;
    QPushButton *BitBtn_Cancel = nullptr;

    // The possible answers as typed: one per line, closing empty lines left out.
    QStringList AnswerLines() const;

public slots:
    // Escape cancels; anything else that closes the window goes through closeEvent.
    void reject() override;
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    TQuestionKind Kind() const { return QuestionKindOf(Control); }
    void ShowDetails();
    void ShowWrittenInput();
    void SelectCorrectAnswers();
    void SetPanelCorrectTopHeight(int height); // 0: fill the page
    void PlaceButtons();
    void WriteResults();
};
