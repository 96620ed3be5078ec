#pragma once

#include "authoring/MembershipEditor.h"

// The questions of one test (testdetail rows of a testmaster row), in the order in which
// the test presents and prints them.
class TForm_QuestionJoin : public TMembershipForm
{
    Q_OBJECT

public:
    explicit TForm_QuestionJoin(TDbQuery *query, QWidget *parent = nullptr);

    void BitBtn_PreviewClick();

    TMaskEdit *Edit_TestTitle = nullptr;
    TNvComboBox *NvComboBox_Question = nullptr;
    QPushButton *BitBtn_Preview = nullptr;

protected:
    void LoadCandidates() override;
    QStringList MemberListingLines(const QString &parentKey) const override;
    bool MemberText(QString &text) const override;
    QString SelectedMemberKey() const override;
    QStringList InsertLines(const QString &parentKey, const QString &memberKey, int position) const override;
    QStringList FindSerialLines(const QString &parentKey, const QString &memberKey) const override;
    QStringList UpdateLines(const QString &parentKey, const QString &memberKey, int row,
                            const QString &serial) const override;
    QString DeleteLine(const QString &serial) const override;
    QString SequenceLine(int row, const QString &serial) const override;
    QStringList SearchLines(const QString &pattern) const override;
    QString SearchRowText() const override;
    QString DuplicateQuestion(const QString &text, bool updating) const override;
    QString RemovalQuestion(const QString &text) const override;
    QString SearchCaption() const override;
    QString SearchPrompt() const override;
    QString NoMatchText() const override;
};
