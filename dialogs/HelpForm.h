#pragma once

// The help viewer: one help page in an HTML view, on top of the program's other
// windows, with Back, Print and a way back to the topics list.

#include "dialogs/HelpFiles.h"

#include <QMainWindow>
#include <QPointer>
#include <QTextBrowser>

class QAction;
class QMenu;
class QPrinter;
class QPushButton;

// The HTML view. A page that cannot be read is shown as a message naming it, so a
// missing help file never leaves an empty window.
class THelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpBrowser(QWidget *parent = nullptr);
    QVariant loadResource(int type, const QUrl &name) override;

    static QString MissingPageHtml(const QString &path);
};

class TForm_HelpForm : public QMainWindow, public THelpSettings {
    Q_OBJECT
public:
    explicit TForm_HelpForm(QWidget *parent = nullptr);
    ~TForm_HelpForm() override;

    QWidget *Panel_Top = nullptr;
    QPushButton *BitBtn_Topics = nullptr;
    QPushButton *BitBtn_Back = nullptr;
    QPushButton *BitBtn_Print = nullptr;
    THelpBrowser *HTML = nullptr;
    QMenu *MenuItem_File = nullptr;
    QAction *MenuItem_PrintTopic = nullptr;
    QAction *MenuItem_Exit = nullptr;

    // The topics window "Help Topics" returns to (not owned).
    QPointer<TForm_HelpMenu> HelpMenu;

    QString PagePath;
    QString PageTitle;
    bool NavigationPending() const { return FNavigationPending; }

    // Display from the topics window: shows the viewer without waiting and opens
    // the page at once.
    void ShowPage();

    void FormShow();
    void FormActivate();
    void BitBtn_TopicsClick();
    void MenuItem_BackClick();
    void BitBtn_PrintClick();
    void MenuItem_ExitClick();
    void HTMLCommandStateChange(bool canGoBack);

    // Prints the current page; false (after reporting it) when the printer failed.
    bool PrintTo(QPrinter &printer);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool FNavigationPending = false;
};
