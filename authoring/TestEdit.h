#pragma once

#include "authoring/RecordEditForm.h"

#include <QStringList>

class QAbstractButton;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QVBoxLayout;
class TDbQuery;
class TMaskEdit;
class TStringGrid;

// The tests (testmaster).
class TForm_TestEdit : public TRecordEditForm {
    Q_OBJECT

public:
    enum { ColID = 0, ColRow = 1, ColName = 2, ColSubtitle = 3, ColInstructions = 4, ColColumns = 5 };

    explicit TForm_TestEdit(TDbQuery *query, QWidget *parent = nullptr);

    void Edit_TestTitleMouseMove(QLineEdit *sender);

    // List only tests that have at least one question.
    bool WithQuestionsOnly = false;

    QString ResultID;
    QString ResultName;
    QString ResultInstructions;
    QString ResultSubtitle;
    int ResultColumns = 2;
    bool PrintKey = false;

    TMaskEdit *Edit_TestTitle = nullptr;
    TMaskEdit *Edit_SubTitle = nullptr;
    TMaskEdit *Edit_Instructions = nullptr;
    QSpinBox *SpinEdit_Columns = nullptr;
    QWidget *Panel_Key = nullptr;
    QCheckBox *CheckBox_Key = nullptr;

protected:
    QStringList ListingLines() const override;
    QStringList InsertLines(const QString &key) const override;
    QStringList UpdateLines(const QString &key) const override;
    void RowToFields(int row) override;
    void ReadResults(int row) override;
    bool MayStore(bool adding) override;

private:
    // The number of page columns a cell holds, 1 to 3; 2 when it holds no whole number.
    static int ColumnsOf(const QString &cell);
};
