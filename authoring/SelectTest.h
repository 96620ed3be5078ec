#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TDbQuery;
class TMaskEdit;
class TStringGrid;

namespace Corvella {

// Picks one of the tests assigned to a class (between the class picker and the
// gradebook).
class TForm_SelectTest : public QDialog
{
    Q_OBJECT

public:
    enum { ColID = 0, ColRow = 1, ColName = 2, ColStatus = 3, ColGrade = 4 };

    // query: the main window's statement object.
    explicit TForm_SelectTest(TDbQuery *query, QWidget *parent = nullptr);

    // The gradebook's use: three columns, the name 460 wide, no top panel, OK and
    // Cancel instead of Close.
    void PrepareForGradeBook();

    void FormShow();
    void FormClose();
    void StringGridClick();
    void StringGridDblClick();
    void BitBtn_OKClick();
    void BitBtn_CancelClick();
    void BitBtn_CloseClick();
    void Edit_TestNameMouseMove(QLineEdit *sender);

    TDbQuery *Query;
    // The class: its ID (a whole number) and name.
    QString ParentKey;
    QString ParentName;
    bool Cancelled = false;
    QString ResultID;
    QString ResultName;

    QWidget *Panel_Top = nullptr;
    TMaskEdit *Edit_TestName = nullptr;
    TMaskEdit *Edit_ClassName = nullptr;
    TStringGrid *StringGrid = nullptr;
    QWidget *Panel_Bottom = nullptr;
    QPushButton *BitBtn_OK = nullptr;
    QPushButton *BitBtn_Cancel = nullptr;
    QPushButton *BitBtn_Close = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace Corvella
