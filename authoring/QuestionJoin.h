#pragma once

#include "authoring/MembershipEditor.h"

// The questions of one test (testdetail rows of a testmaster row), in the order in which
// the test presents and prints them.
class TForm_QuestionJoin : public TMembershipForm {
    Q_OBJECT

public:
    explicit TForm_QuestionJoin(TDbQuery *query, QWidget *parent = nullptr);

    void BitBtn_PreviewClick();

    TMaskEdit *Edit_TestTitle = nullptr;
    TNvComboBox *NvComboBox_Question = nullptr;
    QPushButton *BitBtn_Preview = nullptr;

signals:
    // Preview asks whoever opened the window to preview the test it shows.
    void PreviewRequested();

protected:
    QString RowText() const override;
};
