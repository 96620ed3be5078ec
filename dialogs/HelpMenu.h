#pragma once

// The topics window of the help: the pages' titles in alphabetical order; Display
// opens the chosen page in the help viewer.

#include "dialogs/HelpFiles.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

class TForm_HelpMenu : public QDialog, public THelpSettings {
    Q_OBJECT
public:
    explicit TForm_HelpMenu(QWidget *parent = nullptr);
    ~TForm_HelpMenu() override;

    QTabWidget *PageControl = nullptr;
    QWidget *TabSheet_Index = nullptr;
    QLabel *Label_Click = nullptr;
    QListWidget *ListBox_Help = nullptr;
    QPushButton *BitBtn_Display = nullptr;
    QPushButton *BitBtn_Close = nullptr;

    // The viewer the chosen page opens in (not owned).
    QPointer<TForm_HelpForm> HelpForm;

    // Parallel to HelpFiles, in entry order.
    QStringList Titles;
    QStringList FileNames;

    // Shows the window modally (through the dialog seam: a scripted test gets the
    // window filled but not shown).
    void Execute();

    void FormShow();
    void BitBtn_DisplayClick();
    void BitBtn_CloseClick();

protected:
    void showEvent(QShowEvent *event) override;
};
