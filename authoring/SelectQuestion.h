#pragma once

#include "question/QuestionText.h"
#include "toolkit/ListHints.h"

#include <QDialog>
#include <QList>

#include <optional>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QWidget;
class TDbQuery;
class TQAListbox;

// Picks one question of the question bank, with a keyword search. With its own loading
// switched off it serves as the list of a keyword search's results.
class TForm_SelectQuestion : public QDialog {
    Q_OBJECT

public:
    // query: the main window's statement object.
    explicit TForm_SelectQuestion(TDbQuery *query, QWidget *parent = nullptr);

    void FormShow();
    void FormClose();
    void QAListbox_QuestionsClick();
    void QAListbox_QuestionsMouseMove(QListWidgetItem *item);
    void Button_OKClick();
    void Button_CancelClick();
    void BitBtn_FindClick();

    // The keyword search's pattern: blanks become "%", and "%" stands at both ends.
    static QString KeywordPattern(const QString &keywords);

    // Adds an item where it belongs in the sorted list: a question with its record, or
    // a bare text (the results of a search carry no record).
    int AddQuestion(const TControlDef &def);
    int AddText(const QString &text);
    void ClearItems();
    // The record of an item; nullptr for an item without one.
    const TControlDef *ControlDef(int index) const;
    // The record of the selected item; nullptr when there is none.
    const TControlDef *SelectedControlDef() const;
    // The text of the item current in the list; empty when none.
    QString CurrentText() const;

    TDbQuery *Query;
    // The window fills its list from the question bank when shown.
    bool LoadQuestions = true;
    bool Cancelled = false;

    QWidget *Panel_Top = nullptr;
    QLabel *NvLabel_Questions = nullptr;
    QPushButton *BitBtn_Find = nullptr;
    TQAListbox *QAListbox_Questions = nullptr;
    QWidget *Panel_Bottom = nullptr;
    QPushButton *Button_OK = nullptr;
    QPushButton *Button_Cancel = nullptr;

    void done(int result) override;
    // Escape and the close box cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One entry per list item, in the list's order.
    QList<std::optional<TControlDef>> FRecords;
    // Set while the window is shown again after a search: the list stays as it is.
    bool FShowingAgain = false;
};
