#pragma once

#include "authoring/RecordWindow.h"

class QAbstractButton;
class QPushButton;
class QSpinBox;
class QWidget;
class TDbQuery;
class TMaskEdit;
class TNvComboBox;
class TStringGrid;

// The tests assigned to one class (classtest rows), each with a chapter.
class TForm_TestJoin : public TParentRecordsForm {
    Q_OBJECT

public:
    enum { ColID = 0, ColRow = 1, ColName = 2, ColChapter = 3 };

    // query: the main window's statement object.
    explicit TForm_TestJoin(TDbQuery *query, QWidget *parent = nullptr);

    void FormShow() override;
    void StringGridClick() override;
    void StringGridDblClick() override;
    // One handler for the Add and the Update button.
    void BitBtn_AddClick(QAbstractButton *sender);
    void BitBtn_RemoveClick();

    // New key as text; empty when the look-up failed (already reported).
    QString NextID();
    // The new key, or -1 when nothing was inserted.
    int InsertRecord();
    // True when the current row may show the chosen test and chapter.
    bool UpdateRecord();
    // True when the current row is to leave the grid.
    bool DeleteRecord();

    TMaskEdit *Edit_ClassDesc = nullptr;
    TNvComboBox *NvComboBox_Test = nullptr;
    QSpinBox *SpinEdit_Chapter = nullptr;
    QPushButton *BitBtn_Add = nullptr;
    QPushButton *BitBtn_Update = nullptr;
    QPushButton *BitBtn_Remove = nullptr;

private:
    QString ChapterText() const;

    bool FClickAttached = true;
};
