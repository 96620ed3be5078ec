#pragma once

#include "authoring/RecordWindow.h"

#include <QList>

namespace Corvella {

// One class as a caller hands it over.
struct TClassObject {
    QString Name;
    QString Course;
    QString Teacher;
    QString Chapter;
};

// One class as the list keeps it.
struct TClassDef {
    QString Name;
    QString Course;
    int ID = 0;
    QString Teacher;
    QString Chapter;
};

// Picks one class from a list that the caller hands over (a test assigned to several
// classes, before it is printed).
class TForm_SelectClass : public TListPickForm {
    Q_OBJECT

public:
    explicit TForm_SelectClass(QWidget *parent = nullptr);

    void FormShow() override;
    void QAListbox_ClassesClick() { ListClick(); }
    void QAListbox_ClassesMouseMove(QListWidgetItem *item) { ListMouseMove(item); }
    void Button_OKClick() override;

    // The record of an item; nullptr for an index without one.
    const TClassDef *ClassDef(int index) const;

    // The caller's classes, listed when FromList is set.
    QList<TClassObject> ClassList;
    bool FromList = false;

    // Set by OK; empty otherwise.
    QString ResultID;
    QString ResultName;
    QString ResultCourse;
    QString ResultTeacher;
    QString ResultChapter;

    QLabel *NvLabel_Classes = nullptr;
    TQAListbox *QAListbox_Classes = nullptr;

private:
    // One record per list item, in the list's order.
    QList<TClassDef> FRecords;
};

} // namespace Corvella
