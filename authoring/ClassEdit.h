#pragma once

#include "authoring/RecordEditForm.h"

// The classes (classmaster).
class TForm_ClassEdit : public TRecordEditForm {
    Q_OBJECT

public:
    enum { ColID = 0, ColRow = 1, ColName = 2, ColCourse = 3, ColTeacher = 4 };

    explicit TForm_ClassEdit(TDbQuery *query, QWidget *parent = nullptr);

    void Edit_ClassTitleMouseMove(QLineEdit *sender);

    QString ResultID;
    QString ResultName;
    QString ResultCourse;
    QString ResultTeacher;

    TMaskEdit *Edit_ClassTitle = nullptr;
    TMaskEdit *Edit_Course = nullptr;
    TMaskEdit *Edit_Teacher = nullptr;

protected:
};
