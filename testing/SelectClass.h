#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QListWidgetItem;
class QPushButton;
class QWidget;
class TDbQuery;
class TQAListbox;

namespace Tamberlin {

// One class of the student, as listed.
struct TClassDef {
    QString Name;
    QString Course;
    int ID = 0;
};

// Lets the student choose one of the classes he belongs to.
class TForm_SelectClass : public QDialog {
    Q_OBJECT

public:
    // query: the program's one statement object.
    explicit TForm_SelectClass(TDbQuery *query, QWidget *parent = nullptr);

    void FormShow();
    void QAListbox_ClassesClick();
    void QAListbox_ClassesDblClick();
    void QAListbox_ClassesMouseMove(QListWidgetItem *item);
    void Button_OKClick();
    void Button_CancelClick();
    // Fits the list's horizontal scroll range to its widest item; returns that width.
    int FitListWidth();

    TDbQuery *Query;
    QString StudentID;
    QString ClassID;
    QString ClassName;
    bool Cancelled = true;

    // One record per list item, in the list's order.
    QList<TClassDef> Classes;

    QWidget *Panel_Top = nullptr;
    QLabel *NvLabel_Classes = nullptr;
    TQAListbox *QAListbox_Classes = nullptr;
    QWidget *Panel_Bottom = nullptr;
    // One line that says why the list is empty; hidden while it has classes.
    QLabel *Label_Empty = nullptr;

    static const QString NoClassesMessage;
    QPushButton *Button_OK = nullptr;
    QPushButton *Button_Cancel = nullptr;

public slots:
    // Escape and the close box cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace Tamberlin
