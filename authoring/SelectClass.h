#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QListWidgetItem;
class QPushButton;
class QWidget;
class TQAListbox;

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
class TForm_SelectClass : public QDialog {
    Q_OBJECT

public:
    explicit TForm_SelectClass(QWidget *parent = nullptr);

    void FormShow();
    void FormClose();
    void QAListbox_ClassesClick();
    void QAListbox_ClassesMouseMove(QListWidgetItem *item);
    void Button_OKClick();
    void Button_CancelClick();

    // The record of an item; nullptr for an index without one.
    const TClassDef *ClassDef(int index) const;

    // The caller's classes, listed when FromList is set.
    QList<TClassObject> ClassList;
    bool FromList = false;
    bool Cancelled = false;

    // Set by OK; empty otherwise.
    QString ResultID;
    QString ResultName;
    QString ResultCourse;
    QString ResultTeacher;
    QString ResultChapter;

    QWidget *Panel_Top = nullptr;
    QLabel *NvLabel_Classes = nullptr;
    TQAListbox *QAListbox_Classes = nullptr;
    QWidget *Panel_Bottom = nullptr;
    QPushButton *Button_OK = nullptr;
    QPushButton *Button_Cancel = nullptr;

    void done(int result) override;
    // Escape and the close box cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One record per list item, in the list's order.
    QList<TClassDef> FRecords;
};

} // namespace Corvella
