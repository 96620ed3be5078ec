#pragma once

#include "authoring/RecordWindow.h"
#include "question/QuestionText.h"
#include "toolkit/ListHints.h"

#include <QList>

#include <optional>

class TDbQuery;

// Picks one question of the question bank, with a keyword search. With its own loading
// switched off it serves as the list of a keyword search's results.
class TForm_SelectQuestion : public TListPickForm {
    Q_OBJECT

public:
    // query: the main window's statement object.
    explicit TForm_SelectQuestion(TDbQuery *query, QWidget *parent = nullptr);

    void FormShow() override;
    void QAListbox_QuestionsClick() { ListClick(); }
    void QAListbox_QuestionsMouseMove(QListWidgetItem *item) { ListMouseMove(item); }
    void Button_OKClick() override;
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

    QLabel *NvLabel_Questions = nullptr;
    QPushButton *BitBtn_Find = nullptr;
    TQAListbox *QAListbox_Questions = nullptr;

private:
    // One entry per list item, in the list's order.
    QList<std::optional<TControlDef>> FRecords;
};
