#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;
class QWidget;
class TDbQuery;

namespace Tamberlin {

// Lets the student choose a test of the class: one row per test with the student's
// status and grade. A test can be taken while its status is "INCOMPLETE" (stored, or
// implied by a missing result) and viewed once a result is stored.
class TForm_SelectTest : public QDialog {
    Q_OBJECT

public:
    // query: the program's one statement object.
    explicit TForm_SelectTest(TDbQuery *query, QWidget *parent = nullptr);

    // The grid's columns.
    enum TColumn : int { ColID = 0, ColRow = 1, ColName = 2, ColStatus = 3, ColGrade = 4 };

    void FormShow();
    void StringGridClick();
    void StringGridDblClick();
    void BitBtn_OKClick();
    void BitBtn_CancelClick();
    void Button_ViewClick();
    // Sets TestID from the selected row unless the window was cancelled.
    void FormClose();

    // The grid as a string grid: row 0 is the title row, data rows from 1.
    QString Cells(int column, int row) const;
    int RowCount() const; // the title row included
    int SelectedRow() const; // a data row, or 0 when none is selected
    void SelectRow(int row);

    TDbQuery *Query;
    QString StudentID;
    QString ClassID;
    QString ClassName;
    QString TestID;
    bool Cancelled = true;

    // Shows the stored result of the test in TestID; until it is set, the button says
    // that viewing is not available.
    std::function<void(TForm_SelectTest *)> OnViewTest;

    QTableWidget *StringGrid = nullptr;
    QWidget *Panel_Buttons = nullptr;
    QPushButton *BitBtn_OK = nullptr;
    QPushButton *BitBtn_Cancel = nullptr;
    QPushButton *Button_View = nullptr;
    // One line that says why no test can be taken; hidden otherwise.
    QLabel *Label_Empty = nullptr;

    static const QString ViewNotAvailableMessage;
    static const QString NoTestsMessage;
    static const QString AllTakenMessage;

public slots:
    // Escape cancels.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void SetCell(int column, int row, const QString &text);
    void NumberGridRows();
    void ShowWhyEmpty();
    void CloseWindow();
};

} // namespace Tamberlin
