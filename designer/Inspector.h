#pragma once

// The inspector window: component box, the property grid on its "Properties" tab and
// the description pane. It carries the surface's control popup menu and the font
// dialog, and its grid handlers validate and apply what the grid reports.

#include "toolkit/StdDialogs.h"

#include <QDockWidget>
#include <QPointer>
#include <QStringList>

#include <optional>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QTabWidget;
class TObjectInspector;
class TPropertyGrid;

class TInspector : public QDockWidget {
    Q_OBJECT
public:
    explicit TInspector(TObjectInspector *designer, QWidget *parent = nullptr);
    ~TInspector() override;

    QWidget *Panel_Top = nullptr;
    QComboBox *ComboBox_Object = nullptr;
    QTabWidget *PageControl = nullptr;
    QWidget *TabSheet_Properties = nullptr;
    TPropertyGrid *PropertyGrid = nullptr;
    QFrame *Panel_Bottom = nullptr;
    QLabel *Label_Property = nullptr;
    QLabel *Label_Desc = nullptr;
    TFontDialog FontDialog;
    QMenu *FDPopupMenu_Control = nullptr;
    QAction *FDSubMenuItem_NewPage = nullptr;
    QAction *FDSubMenuItem_NextPage = nullptr;
    QAction *FDSubMenuItem_PreviousPage = nullptr;
    QAction *FDN2 = nullptr;
    QAction *FDSubMenuItem_Wizard = nullptr;
    QAction *FDSubMenuItem_Align = nullptr;
    QAction *FDN3 = nullptr;
    QAction *FDSubMenuItem_Cut = nullptr;
    QAction *FDSubMenuItem_Copy = nullptr;
    QAction *FDSubMenuItem_Paste = nullptr;
    QAction *N1 = nullptr;
    QAction *FDSubMenuItem_Delete = nullptr;
    QAction *FDN1 = nullptr;
    QAction *FDSubMenuItem_BringToFront = nullptr;
    QAction *FDSubMenuItem_SendToBack = nullptr;

    // Parallel lists: property names and their description texts.
    QStringList DescriptionNames;
    QStringList DescriptionTexts;
    void MergeDescriptions(const QStringList &lines);
    void ShowDescription(const QString &name);

    bool DisplayGrid = false;
    int GridX = 8, GridY = 8;
    // True while the name column is being resized with the mouse.
    bool ResizingNameCol() const { return FResizing; }

    void RebuildComponentBox();
    // Re-reads the selection's values into the rows; without force the current row,
    // where text may be being typed, is left alone.
    void RefreshValues(bool force);
    // Stops following activation, so that a designer being destroyed is not refreshed.
    void DetachActivation();
    // A number typed into a row but not yet applied (no Enter, cell not left) is applied
    // to the controls it was typed for, before the rows are rebuilt or the window is left.
    void CommitPendingEdit();

    void FormShow();
    void FormActivate();
    void FormDeactivate();
    void FormResize();
    void ComboBox_ObjectChange();
    void FDPopupMenu_ControlPopup();
    void FDSubMenuItem_NewPageClick();
    // Next page, or the previous one when sent by FDSubMenuItem_PreviousPage.
    void FDSubMenuItem_NextPageClick(QAction *sender);
    void FDSubMenuItem_AlignClick();
    void FDSubMenuItem_CutClick();
    void FDSubMenuItem_CopyClick();
    void FDSubMenuItem_PasteClick();
    void FDSubMenuItem_DeleteClick();
    void FDSubMenuItem_BringToFrontClick();
    void FDSubMenuItem_SendToBackClick();

    void PropertyGridSelectCell(int aCol, int aRow, bool &canSelect);
    void PropertyGridKeyDown(int &key, Qt::KeyboardModifiers shift);
    void PropertyGridKeyUp(int &key, Qt::KeyboardModifiers shift);
    void PropertyGridKeyPress(QChar &key);
    void PropertyGridComboCloseUp(int aRow, int itemIndex);
    void PropertyGridEditButtonClick(int aRow);
    void PropertyGridExit();
    void PropertyGridMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void PropertyGridMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void PropertyGridMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The grid's value text of a row, copied into the row list.
    QString TakeRowText(int row);
    void AdjustSpecialRow(int row);
    void FocusChanged(QWidget *old, QWidget *now);
    void EditStrings(int row);
    void EditMask(int row);
    void EditFont();
    void CancelMouseCapture();
    // The page control of the single selected control (a page control or a tab page).
    QTabWidget *SelectedPageControl() const;

    void NotePendingEdit(int aRow, const QString &text);

    struct TPendingEdit {
        QString Name, Type, Text;
        QList<QPointer<QObject>> Targets;
    };
    std::optional<TPendingEdit> FPending;
    bool FRefusing = false; // the refused-value message is up

    TObjectInspector *FDesigner;
    bool FChangingBox = false;
    bool FCheckCells = true; // the leave-cell check is attached
    bool FResizing = false;
    bool FSplitCursor = false;
};
