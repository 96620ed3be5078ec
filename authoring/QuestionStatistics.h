#pragma once

#include "question/ResultSheets.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;
class TDbQuery;
class TNvComboBox;

// Question statistics of a test, for one class or all: per question the students who
// answered it, those who got it right, the share right with a bar, and the
// discrimination index; printable through the preview and exported as CSV.
class TForm_QuestionStatistics : public QDialog {
    Q_OBJECT

public:
    enum { ColNumber = 0, ColQuestion, ColAnswered, ColRight, ColFacility, ColDiscrimination, ColCount };

    // query: the main window's statement object.
    explicit TForm_QuestionStatistics(TDbQuery *query, QWidget *parent = nullptr);

    // The test and class to show first (IDs as text); empty: the first test, all classes.
    QString TestKey;
    QString ClassKey;

    // What the table shows.
    TItemStatistics Statistics;

    void FormShow();
    void NvComboBox_TestChange();
    void NvComboBox_ClassChange();
    void BitBtn_PreviewClick();
    void BitBtn_ExportClick();

    TNvComboBox *NvComboBox_Test = nullptr;
    TNvComboBox *NvComboBox_Class = nullptr;
    QLabel *Label_Summary = nullptr;
    QTableWidget *Grid_Statistics = nullptr;
    QPushButton *BitBtn_Preview = nullptr;
    QPushButton *BitBtn_Export = nullptr;
    QPushButton *BitBtn_Close = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The classes the chosen test is assigned to, after "(All classes)".
    void LoadClasses();
    // Reads the statistics of the chosen test and class and shows them.
    void Recalculate();
    void ShowStatistics();

    TDbQuery *Query;
    bool FFilling = false;
};
