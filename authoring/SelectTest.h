#pragma once

#include "authoring/RecordWindow.h"

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
class TForm_SelectTest : public TParentRecordsForm {
    Q_OBJECT

public:
    enum { ColID = 0, ColRow = 1, ColName = 2, ColStatus = 3, ColGrade = 4 };

    // query: the main window's statement object.
    explicit TForm_SelectTest(TDbQuery *query, QWidget *parent = nullptr);

    // The gradebook's use: three columns, the name 460 wide, no top panel, OK and
    // Cancel instead of Close.
    void PrepareForGradeBook();

    void FormShow() override;
    void FormClose() override;
    void StringGridClick() override;
    void StringGridDblClick() override;
    void Edit_TestNameMouseMove(QLineEdit *sender);

    QString ResultID;
    QString ResultName;

    TMaskEdit *Edit_TestName = nullptr;
    TMaskEdit *Edit_ClassName = nullptr;

protected:
};

} // namespace Corvella
