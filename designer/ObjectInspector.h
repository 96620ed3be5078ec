#pragma once

// The designer component: turns a copy of a template form into a design surface on
// which question controls are created, selected, moved and sized, and keeps the
// inspector window whose rows show the selection's published properties.

#include "designer/Inspector.h"
#include "designer/PropertyList.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QMouseEvent;
class QPainter;
class TDesignForm;
class TObjectInspector;
class TStretchHandle;

class TObjectInspector : public QObject {
    Q_OBJECT
public:
    explicit TObjectInspector(QObject *owner = nullptr);
    ~TObjectInspector() override;

    // Set before Activate; not owned.
    QWidget *TemplateForm = nullptr;
    bool RepeatCreate = false;
    // Right/left clicks on the empty surface clear the selection (and open the menu).
    bool EmptySurfaceActions = true;
    TStretchHandle *StretchHandle = nullptr;
    TInspector *InspectorForm = nullptr;
    TDesignForm *DesignForm() const { return FDesignForm; }

    bool Activate();
    void ShowInspector();
    void RefreshSurface();
    QWidget *DesignSurface() const;
    // A new hidden "Form_Preview" with a copy of the surface's controls; the caller
    // shows and frees it. nullptr after a message when it could not be built.
    QWidget *CreatePreviewForm();
    // Arms the creation of a default control of the class; text receives its object text.
    void BeginCreateControl(const QString &className, QString &text);
    void SetCreateText(const QString &text);
    QString CreateText() const { return FCreateText; }
    void SelectControl(QWidget *control);
    void RefreshInspector();
    void ApplyEditButtonProps();

    // What a host does with the surface, without reaching into the handle or the window.
    // Creates a default control of the class at position on the surface and selects it;
    // nullptr (after an error box) when it could not be made.
    QWidget *CreateControl(const QString &className, const QPoint &position);
    // A control the host built on the surface is designed and selected like a created one.
    void AdoptControl(QWidget *control);
    // Frees the selected controls without asking and shows the surface's rows.
    void RemoveSelectedControls();
    // Frees every designed control on the surface.
    void ClearSurface();
    // The designed controls on the surface (named, not the designer's own), oldest first.
    QList<QWidget *> DesignedControls() const;
    int SelectedCount() const;
    // The selected control at index; nullptr when there is none.
    QWidget *SelectedControl(int index = 0) const;
    // Places a control of the surface at topLeft, keeping its size.
    void MoveControl(QWidget *control, const QPoint &topLeft);
    // Moves the handles to the selection after the host changed its controls.
    void UpdateHandles();
    // The object list and the rows again, after the host renamed controls.
    void RefreshComponents();
    // The inspector window (a dock widget the host may place) and its control menu;
    // nullptr before the first activation.
    QDockWidget *InspectorWindow() const;
    QMenu *ControlMenu() const;
    void SetObjectListVisible(bool visible);
    // Widens the name column so that each of the names fits; returns its width
    // (0 without an inspector window).
    int FitNameColumn(const QStringList &names);

    int FindPropertyRow(const QString &name) const;
    void GetPropertyValue(int row, QString &value) const;
    bool SetPropertyValue(int row, const QString &value);
    void SelectedPropertyName(QString &name) const;
    const TPropertyList &PropertyList() const { return FPropertyList; }

    // Published properties.
    bool AllowDeletes() const { return FAllowDeletes; }
    void SetAllowDeletes(bool value);
    QStringList BitMaskProps() const { return FPropertyList.BitMaskProps; }
    void SetBitMaskProps(const QStringList &value);
    bool BitMaskTags() const { return FPropertyList.BitMaskTags; }
    void SetBitMaskTags(bool value);
    bool ClearCutBufferOnPaste() const { return FClearCutBufferOnPaste; }
    void SetClearCutBufferOnPaste(bool value);
    bool CutAndPaste() const { return FCutAndPaste; }
    void SetCutAndPaste(bool value);
    bool DisplayGrid() const { return FDisplayGrid; }
    void SetDisplayGrid(bool value);
    QStringList EditButtonProps() const { return FPropertyList.EditButtonProps; }
    void SetEditButtonProps(const QStringList &value);
    int GridX() const { return FGridX; }
    void SetGridX(int value);
    int GridY() const { return FGridY; }
    void SetGridY(int value);
    int InspectorLeft() const;
    void SetInspectorLeft(int value);
    int InspectorTop() const;
    void SetInspectorTop(int value);
    int InspectorWidth() const;
    void SetInspectorWidth(int value);
    int InspectorHeight() const;
    void SetInspectorHeight(int value);
    QStringList PropertyDescriptions() const { return FPropertyDescriptions; }
    void SetPropertyDescriptions(const QStringList &value);
    bool ShowDescriptions() const { return FShowDescriptions; }
    void SetShowDescriptions(bool value);
    bool SnapToGrid() const { return FSnapToGrid; }
    void SetSnapToGrid(bool value);
    QStringList SupportedProps() const { return FPropertyList.SupportedProps; }
    void SetSupportedProps(const QStringList &value);
    QStringList UnSupportedProps() const { return FPropertyList.UnSupportedProps; }
    void SetUnSupportedProps(const QStringList &value);
    QStringList UnEditableProps() const { return FPropertyList.UnEditableProps; }
    void SetUnEditableProps(const QStringList &value);

    // Events; sender is always this component. "Before" events enter with true.
    std::function<void(TObjectInspector *sender, QWidget *control)> OnCreateControl;
    std::function<void(TObjectInspector *sender)> OnEditButtonClick;
    std::function<void(TObjectInspector *sender, bool &canCopy)> OnBeforeCopy;
    std::function<void(TObjectInspector *sender, bool &canCut)> OnBeforeCut;
    std::function<void(TObjectInspector *sender, bool &success)> OnDelete;
    std::function<void(TObjectInspector *sender, bool &canDelete)> OnBeforeDelete;
    std::function<void(TObjectInspector *sender, bool &canPaste)> OnBeforePaste;
    std::function<void(TObjectInspector *sender)> OnMenuPopup;
    std::function<void(TObjectInspector *sender, int aCol, int aRow, bool &canSelect)> OnSelectCell;

    // The control clipboard's commands with their "Before" events; nothing happens
    // unless CutAndPaste is on. A cut from the key selects the newest remaining control.
    void ClipboardCut(bool fromKey);
    void ClipboardCopy();
    // False when pasting is off or was refused.
    bool ClipboardPaste();

    // Deleting the selection: from the Delete key (selects the newest remaining
    // control afterwards) or from the menu (selects nothing).
    void DeleteSelection(bool fromKey);

    // The surface's handlers; sender is the surface, a control on it or the handle.
    void SurfaceMouseDown(QWidget *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &pos);
    void SurfaceMouseMove(QWidget *sender, Qt::KeyboardModifiers shift, const QPoint &pos);
    void SurfaceMouseUp(QWidget *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &pos);
    void FormKeyDown(int &key, Qt::KeyboardModifiers shift);
    void FormPaint(QPainter &painter);
    // Routes the mouse events of every control on the surface to the designer.
    void RouteMouseEvents();

    bool RubberBandActive() const { return FRubberBanding; }
    QWidget *RubberBand() const { return FRubberBand; }
    // A press, move or release the handle received while the rubber band is active.
    void ForwardToSurface(QWidget *from, QMouseEvent *event);

    // Raised by the inspector window when its current row is about to change.
    void GridSelectCell(int aCol, int aRow, bool &canSelect);

protected:
    virtual void DoCreateControl(QWidget *control);
    virtual void DoEditButtonClick();
    virtual void DoBeforeCopy(bool &canCopy);
    virtual void DoBeforeCut(bool &canCut);
    virtual void DoDelete(bool &success);
    virtual void DoBeforeDelete(bool &canDelete);
    virtual void DoBeforePaste(bool &canPaste);
    virtual void DoMenuPopup();
    virtual void DoSelectCell(int aCol, int aRow, bool &canSelect);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class TInspector;
    QWidget *DesignControlOf(QObject *watched) const;
    QWidget *CreateControlAt(QWidget *parent, const QPoint &point);
    void LoadRows();
    void PassListsToGrid();
    QRect NormalizedBand(const QPoint &to) const;

    TDesignForm *FDesignForm = nullptr;
    TPropertyList FPropertyList;
    QString FCreateText;
    bool FAllowDeletes = true;
    bool FClearCutBufferOnPaste = false;
    bool FCutAndPaste = true;
    bool FDisplayGrid = false;
    int FGridX = 8, FGridY = 8;
    int FInspectorLeft = 0, FInspectorTop = 50, FInspectorWidth = 230, FInspectorHeight = 600;
    QStringList FPropertyDescriptions;
    bool FShowDescriptions = true;
    bool FSnapToGrid = false;
    QPointer<TInspector> FInspectorGuard;
    QPointer<QWidget> FRubberBand;
    bool FRubberBanding = false;
    bool FBandGrab = false;
    QPoint FBandOrigin;
};
